#pragma once

#include <string>

class QPlainTextEdit;

// The text box's content as the system sees it: GBK with CR LF line breaks, as a Windows edit box holds it.
std::string editBoxText(const QPlainTextEdit* box);
// A lone CR or LF in the text becomes a line break as well.
void setEditBoxText(QPlainTextEdit* box, const std::string& gbkText);
