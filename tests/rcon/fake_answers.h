// The answers the fake RCON server gives, shared with the tests that check
// them (native and Win32): plain standard C++, no platform headers.
#pragma once

#include <string>
#include <string_view>

namespace fake_rcon {

// The filler of a long answer: `characters` Chinese characters (3 UTF-8
// bytes and one UTF-16 unit each), cycling through one sentence.
inline std::string longFiller(int characters) {
    // Every character of it is three UTF-8 bytes long.
    constexpr std::string_view kSentence = "服务器回应：物品属性已更新，技能与说明均已保存。";
    std::string text;
    text.reserve(static_cast<std::size_t>(characters) * 3);
    for (std::size_t i = 0; i < static_cast<std::size_t>(characters); ++i) {
        text += kSentence.substr(i * 3 % kSentence.size(), 3);
    }
    return text;
}

// The answer to the `number`th command (from 1) with `body`: "ok: " + body,
// and when `longEvery` > 0 and number is a multiple of it, a blank and
// `longCharacters` characters of filler.
inline std::string answerTo(std::string_view body, int number, int longEvery, int longCharacters) {
    std::string answer = "ok: " + std::string(body);
    if (longEvery > 0 && number % longEvery == 0) answer += " " + longFiller(longCharacters);
    return answer;
}

}  // namespace fake_rcon
