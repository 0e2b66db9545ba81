#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// A fresh directory under the system's temporary directory, removed with its content when
// the object goes. `path` ends with "/", like a data directory.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "varn-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary directory");
        path = pattern + "/";
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    void Write(const std::string& name, const std::string& content) const {
        std::ofstream out(path + name, std::ios::binary);
        out << content;
    }

    // Copies every regular file of `directory` into this one.
    void CopyFrom(const std::string& directory) const {
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), path + entry.path().filename().string(),
                                           std::filesystem::copy_options::overwrite_existing);
    }

    void Remove(const std::string& name) const { std::filesystem::remove(path + name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(path + name); }

    std::string path;
};

// The whole content of a file; empty when there is none.
inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares `actual` whole with the expected file `name` under tests/data/. With
// VARN_WRITE_EXPECTED=1 the file is written from `actual` instead, to be read over by hand
// before it is committed.
inline void ExpectFile(const std::string& actual, const std::string& name) {
    const std::string path = std::string(VARN_TEST_DATA_DIR) + name;
    if (std::getenv("VARN_WRITE_EXPECTED")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_EQ(actual, Slurp(path)) << name;
}
