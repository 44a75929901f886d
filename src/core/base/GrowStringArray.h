#pragma once

#include <string>
#include <vector>

// A growable array of strings that never shrinks: every element up to the
// count exists (possibly empty), and writing past the end grows the array by
// exactly the missing elements.
class GrowStringArray {
public:
    GrowStringArray();

    // Every element becomes empty; the count stays.
    void EmptyAll();
    // Adds n empty elements: 1, or 0 when memory runs out (nothing changes then).
    int Grow(int n);
    // The element at index; a negative index is taken as 0, and an index past
    // the end first grows the array so that it becomes the last element.
    std::string& ElementAt(int index);
    int GetCount() const { return static_cast<int>(m_items.size()); }

private:
    std::vector<std::string> m_items;
};
