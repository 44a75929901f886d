#pragma once

#include "core/base/ColorRef.h"

#include <string>

// What a hyperlink control shows: its colours by state and the text of an
// address that could not be opened.
struct HyperLinkColours {
    COLORREF link = 0xEE0000;
    COLORREF visited = 0x8B1A55;
    COLORREF hover = 0x0064FF;
};
// Hover while the pointer is over the link, else visited once it opened.
COLORREF HyperLinkTextColour(const HyperLinkColours& colours, bool over, bool visited);

// Results of opening an address as the shell reports them: above 32 is
// success.
constexpr int kOpenSucceeded = 33;
constexpr int kOpenFileNotFound = 2;
constexpr int kOpenNoAssociation = 31;
// The result of an open that failed: a local file that is not there, else no
// program that takes the address.
int FailedOpenCode(const std::string& address);

// "Unable to open hyperlink:" and the text of the result.
std::string HyperLinkErrorText(int code);
