// Whole-file reads and writes for the item files: every failure becomes a
// sentence for the user, and a write never leaves a half-written file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct FileBytes {
    std::optional<std::string> bytes;
    std::string problem;  // a Chinese sentence; empty when the bytes were read
};

// Reads the whole file; a file above `maxBytes` is refused before reading.
FileBytes readWholeFile(const std::wstring& path, std::size_t maxBytes);

// Writes `bytes` into a temporary file beside `path`, then puts it in the
// place of `path` in one step (ReplaceFileW when `path` exists, so that its
// attributes and permissions stay; else MoveFileExW). Paths beyond MAX_PATH
// are written in their "\\?\" form. The problem, or ""
// on success; on failure the old file is as it was and the temporary file
// is gone.
std::string writeFileInOneStep(const std::wstring& path, std::string_view bytes);

// Code page 936 bytes as UTF-8; nullopt when they are not valid there.
std::optional<std::string> cp936ToUtf8(std::string_view bytes);

// The folder part of a path ("" when there is none).
std::wstring folderOf(const std::wstring& path);

}  // namespace ui
