#pragma once

#include "core/graphs/PiPoOverlay.h"
#include "gui/graphs/CachedPlotWidget.h"

// The upper overlay of the compare window: PI of two scans over each other.
class CGraphMergePIPO : public CachedPlotWidget, public PiPoUpperOverlay {
    Q_OBJECT

public:
    explicit CGraphMergePIPO(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;
};

// The lower overlay: PIF (or PO) and jitter of two scans.
class CGraphMergePIPOLower : public CachedPlotWidget, public PiPoLowerOverlay {
    Q_OBJECT

public:
    explicit CGraphMergePIPOLower(QWidget* parent = nullptr);

protected:
    void RefreshCache(bool full) override;
};
