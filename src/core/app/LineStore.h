#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Lines of text kept end to end in large blocks: a line costs its characters
// and eight bytes, a fraction of a string of its own, and adding one never
// moves the text already kept.
class LineStore {
public:
    void Clear();
    void Add(std::string_view line);
    std::size_t Size() const { return m_lines.size(); }
    // Valid until the store is cleared.
    std::string_view Line(std::size_t index) const;

private:
    struct Place {
        std::uint32_t block;
        std::uint32_t offset;
    };
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

    std::vector<std::string> m_blocks;  // whole lines each, never grown past their first capacity
    std::vector<Place> m_lines;
};
