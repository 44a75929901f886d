#pragma once

#include "core/graphs/RateGraph.h"
#include "gui/graphs/CachedPlotWidget.h"

#include <cstddef>
#include <cstdint>

// The rate graph control: the read-speed and rotation curves of the speed
// tests, the block map of the read-error tests, and in write-graph mode the
// passes of a write-graph file. Tests feed it through its RateGraph side from
// their own thread; appended points are drawn into the picture as they come,
// anything else redraws it once.
class CGraphStatic : public CachedPlotWidget, public RateGraph {
    Q_OBJECT

public:
    explicit CGraphStatic(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;

private:
    std::uint64_t m_drawnRevision = 0;
    RatePicture m_drawnPicture = RatePicture::Curves;
    std::size_t m_drawnSpeedPoints = 0;
    std::size_t m_drawnRpmPoints = 0;
};
