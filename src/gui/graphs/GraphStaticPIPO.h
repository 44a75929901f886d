#pragma once

#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "gui/graphs/CachedPlotWidget.h"

#include <cstddef>
#include <cstdint>

// The upper PI/PO scan graph: PI errors and read speed on a 450 x 162 plot.
// The scan thread appends through its PiPoUpperGraph side; each new sample
// is drawn into the picture as it comes.
class CGraphStaticPIPO : public CachedPlotWidget, public PiPoUpperGraph {
    Q_OBJECT

public:
    explicit CGraphStaticPIPO(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;

private:
    std::uint64_t m_drawnRevision = 0;
    std::size_t m_drawnPoints = 0;
};

// The lower PI/PO scan graph: PIF, PO and jitter.
class CGraphStaticPIPOLower : public CachedPlotWidget, public PiPoLowerGraph {
    Q_OBJECT

public:
    explicit CGraphStaticPIPOLower(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;

private:
    std::uint64_t m_drawnRevision = 0;
    std::size_t m_drawnPoints = 0;
    std::size_t m_drawnJitter = 0;
};
