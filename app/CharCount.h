#pragma once

#include <QString>

#include <cstddef>

// Length of the text box's content in the system's form: GBK bytes, a line break counting as CR LF.
struct GbkLength {
    size_t bytes = 0;     // length of the whole text
    qsizetype cutAt = -1; // QString index at which to cut to stay within the limit; -1 when it fits
};

// A cut never splits a character: one that would straddle the limit is dropped whole.
GbkLength measureGbk(const QString& widgetText, size_t limit);
