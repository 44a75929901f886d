#pragma once

#include "core/graphs/HddCellMap.h"
#include "gui/graphs/CachedPlotWidget.h"

#include <cstdint>

// The disk tests' cell map control. The tests' workers advance and mark it
// through its HddCellMap side from their own thread; each Refresh redraws
// the picture once on the GUI thread.
class CHddGraphStatic : public CachedPlotWidget, public HddCellMap {
    Q_OBJECT

public:
    explicit CHddGraphStatic(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;
};
