#pragma once

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

// A fresh directory for one test, removed afterwards.
class TempDir {
public:
    std::filesystem::path path() const { return std::filesystem::path(dir_.path().toStdString()); }
    std::filesystem::path file(const std::string& name) const { return path() / name; }

    static void write(const std::filesystem::path& file, const std::string& bytes)
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string read(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    QTemporaryDir dir_;
};
