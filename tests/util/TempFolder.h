// A fresh folder under the Wine prefix's temporary folder, removed with everything in it.
#pragma once

#include "common/TextConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

class TempFolder {
public:
    TempFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "vireon-util-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(counter_++);
        RemoveTree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(path_); }

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    std::string MakeFolder(const std::string& name) const {
        const std::string folder = *this / name;
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        return folder;
    }
    std::string MakeFile(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        const std::string file = *this / name;
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, handle) << file;
        CloseHandle(handle);
        return file;
    }

    static void RemoveTree(const std::string& folder) {
        RemoveTree(vireon::WideFromAnsi(folder));
    }

    // Wide, so that names the ANSI code page cannot spell go too.
    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring child = folder + L"\\" + name;
                const bool link = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link) {
                    RemoveTree(child);
                } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(child.c_str());
                } else {
                    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::string path_;
    static inline int counter_ = 0;
};
