#include "core/app/LineStore.h"

#include <algorithm>

void LineStore::Clear()
{
    m_blocks = {};
    m_lines = {};
}

void LineStore::Add(std::string_view line)
{
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < line.size()) {
        m_blocks.emplace_back().reserve(std::max(kBlockBytes, line.size()));
    }
    std::string& block = m_blocks.back();
    m_lines.push_back({static_cast<std::uint32_t>(m_blocks.size() - 1), static_cast<std::uint32_t>(block.size())});
    block.append(line);
}

std::string_view LineStore::Line(std::size_t index) const
{
    const Place place = m_lines[index];
    const std::string& block = m_blocks[place.block];
    const bool nextInBlock = index + 1 < m_lines.size() && m_lines[index + 1].block == place.block;
    const std::size_t end = nextInBlock ? m_lines[index + 1].offset : block.size();
    return std::string_view(block).substr(place.offset, end - place.offset);
}
