#pragma once

#include "core/graphs/PlotStep.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <vector>

// What one refresh draws, worked out under the graph's lock: the whole
// picture at its size, or the steps that touch a strip of it.
struct PlotDrawing {
    bool whole = false;
    QSize size;  // of the whole picture
    PlotArea area;  // of the strip
    std::vector<PlotStep> steps;
};

// A graph control that keeps its picture in an image: a change (from any
// thread) schedules one refresh on the GUI thread, which draws what was
// appended into the image or, after any other change, the whole picture;
// painting only copies the image. The plot sits at the control's top left.
class CachedPlotWidget : public QWidget {
    Q_OBJECT

public:
    // Brings the picture up to date now when a change waits (tests and
    // benchmarks; the window does it from its event loop).
    void RefreshNow();
    const QImage& Cache() const { return m_cache; }
    // Resizes the control to (cx + 5) x (cy + 5) in place.
    void SetGraphSize(int cx, int cy);

protected:
    explicit CachedPlotWidget(QSize plotSize, QWidget* parent);

    // Safe from any thread.
    void ScheduleRefresh();
    // Draws what changed since the last refresh; full is set when the whole
    // picture must be drawn whatever changed.
    virtual void RefreshCache(bool full) = 0;
    // The whole picture, at its size.
    void PaintWhole(const std::vector<PlotStep>& steps, QSize plotSize);
    // Part of the picture: steps clipped to area.
    void PaintArea(const std::vector<PlotStep>& steps, const PlotArea& area);
    // The whole picture or the strip, as the drawing says.
    void Paint(const PlotDrawing& drawing);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RunScheduledRefresh();

    QImage m_cache;
    std::atomic<bool> m_refreshScheduled{false};
    bool m_fullRefresh = true;
};
