#pragma once

#include <string_view>

// What the dot-matrix comment displays show until the user types a comment.
// It is no comment: the comment dialog starts empty on it and nothing saves it.
inline constexpr std::string_view kCommentHint = "Double-Click Digital Displays to edit";

// The hint, trailing blanks (the displays' padding) aside.
constexpr bool IsCommentHint(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text == kCommentHint;
}
