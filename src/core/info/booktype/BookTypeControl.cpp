#include "core/info/booktype/BookTypeControl.h"

std::string BookTypeControl::Text(int id) const
{
    const auto found = texts.find(id);
    return found == texts.end() ? std::string() : found->second;
}

int BookTypeControl::Radio(int firstId) const
{
    const auto found = radios.find(firstId);
    return found == radios.end() ? -1 : found->second;
}

bool BookTypeControl::IsEnabled(int id) const
{
    const auto found = enabled.find(id);
    return found == enabled.end() || found->second;
}
