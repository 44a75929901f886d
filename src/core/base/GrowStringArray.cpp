#include "core/base/GrowStringArray.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {
constexpr int kInitialCount = 10;
}  // namespace

GrowStringArray::GrowStringArray() : m_items(kInitialCount)
{
}

void GrowStringArray::EmptyAll()
{
    for (std::string& item : m_items)
        item.clear();
}

int GrowStringArray::Grow(int n)
{
    if (n <= 0)
        return 1;
    try {
        m_items.resize(m_items.size() + static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    return 1;
}

std::string& GrowStringArray::ElementAt(int index)
{
    index = std::max(index, 0);
    if (index >= GetCount() && Grow(index - GetCount() + 1) == 0)
        throw std::bad_alloc();  // no element to hand out
    return m_items[static_cast<std::size_t>(index)];
}
