#include "core/base/Format.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace {

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches the calling thread to the C locale for one scope.
class ScopedCLocale {
public:
    ScopedCLocale() : previous_(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

bool OnlyBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    return *p == '\0';
}

}  // namespace

std::string FormatV(const char* format, std::va_list args)
{
    ScopedCLocale cLocale;
    char small[256];
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        return std::string();
    if (static_cast<size_t>(needed) < sizeof small)
        return std::string(small, static_cast<size_t>(needed));
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<size_t>(needed));
}

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

bool ParseLong(const std::string& text, long& value)
{
    ScopedCLocale cLocale;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || !OnlyBlanks(end))
        return false;
    value = parsed;
    return true;
}

bool ParseDouble(const std::string& text, double& value)
{
    ScopedCLocale cLocale;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !OnlyBlanks(end))
        return false;
    value = parsed;
    return true;
}

long LeadingLong(const std::string& text, int base)
{
    ScopedCLocale cLocale;
    return std::strtol(text.c_str(), nullptr, base);
}

double LeadingDouble(const std::string& text)
{
    ScopedCLocale cLocale;
    return std::strtod(text.c_str(), nullptr);
}
