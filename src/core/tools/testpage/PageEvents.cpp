#include "core/tools/testpage/PageEvents.h"

#include "core/base/UserPrompt.h"

void PageEvents::ClearBlockMap()
{
    if (m_map.clear)
        m_map.clear();
}

void PageEvents::SetMapLayerBreak(int cell)
{
    if (m_map.layerBreak)
        m_map.layerBreak(cell);
}

void PageEvents::NextMapBlock(bool bad)
{
    if (m_map.next)
        m_map.next(bad);
}

void PageEvents::NextMapBlockSuspect()
{
    if (m_map.nextSuspect)
        m_map.nextSuspect();
}

int PageEvents::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    return AppMessageBox(text, caption, type);
}

void PageEvents::Beep(unsigned type)
{
    if (m_beep)
        m_beep(type);
}

void PageEvents::Post(UINT message)
{
    if (m_window)
        m_window->PostMessage(message);
}
