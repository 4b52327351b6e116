// On Windows 8-bit text is in the ANSI code page, as the window shows it.
#include <windows.h>

#include "base/encoding.h"

std::string eightBitToUtf8(const std::string& text) {
    if (text.empty()) return text;
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (wide <= 0) return windows1252ToUtf8(text);
    std::wstring buffer(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &buffer[0], wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return windows1252ToUtf8(text);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string catalogueToUtf8(const std::string& text) { return eightBitToUtf8(text); }

std::string_view outputText(std::string_view text, std::string&) { return text; }
