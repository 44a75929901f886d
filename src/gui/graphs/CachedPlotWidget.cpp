#include "gui/graphs/CachedPlotWidget.h"

#include "gui/graphs/PlotReplay.h"

#include <QMetaObject>
#include <QPainter>
#include <QPaintEvent>

CachedPlotWidget::CachedPlotWidget(QSize plotSize, QWidget* parent) :
    QWidget(parent), m_cache(plotSize, QImage::Format_RGB32)
{
    m_cache.fill(Qt::black);
    resize(plotSize);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CachedPlotWidget::SetGraphSize(int cx, int cy)
{
    resize(cx + 5, cy + 5);
}

void CachedPlotWidget::ScheduleRefresh()
{
    if (m_refreshScheduled.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this, [this] { RunScheduledRefresh(); }, Qt::QueuedConnection);
}

void CachedPlotWidget::RefreshNow()
{
    RunScheduledRefresh();
}

void CachedPlotWidget::RunScheduledRefresh()
{
    if (!m_refreshScheduled.exchange(false) && !m_fullRefresh)
        return;
    const bool full = m_fullRefresh;
    m_fullRefresh = false;
    RefreshCache(full);
}

void CachedPlotWidget::PaintWhole(const std::vector<PlotStep>& steps, QSize plotSize)
{
    if (m_cache.size() != plotSize)
        m_cache = QImage(plotSize, QImage::Format_RGB32);
    ReplayPlotSteps(m_cache, steps, PlotArea::Whole(plotSize.width(), plotSize.height()));
    update();
}

void CachedPlotWidget::PaintArea(const std::vector<PlotStep>& steps, const PlotArea& area)
{
    if (area.IsEmpty())
        return;
    ReplayPlotSteps(m_cache, steps, area);
    update(QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
}

void CachedPlotWidget::Paint(const PlotDrawing& drawing)
{
    if (drawing.whole)
        PaintWhole(drawing.steps, drawing.size);
    else
        PaintArea(drawing.steps, drawing.area);
}

void CachedPlotWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, m_cache);
}

void CachedPlotWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_fullRefresh = true;
    ScheduleRefresh();
}

void CachedPlotWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The first picture is there before the first paint.
    if (m_fullRefresh || m_refreshScheduled.load())
        RunScheduledRefresh();
}
