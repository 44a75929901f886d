#include "gui/tools/disk/QtDiskTestSink.h"

#include <utility>

void QtDiskTestSink::PostGathered()
{
    {
        std::lock_guard lock(m_pending->mutex);
        if (m_pending->posted)
            return;
        m_pending->posted = true;
    }
    Post([pending = m_pending](DiskTestSink& sink) {
        std::map<int, std::string> fields;
        bool progressChanged = false;
        int progress = 0;
        std::string progressText;
        {
            std::lock_guard lock(pending->mutex);
            fields.swap(pending->fields);
            progressChanged = std::exchange(pending->progressChanged, false);
            progress = pending->progress;
            progressText = pending->progressText;
            pending->posted = false;
        }
        for (const auto& [id, text] : fields)
            sink.SetFieldText(id, text);
        if (progressChanged)
            sink.SetProgress(progress, progressText);
    });
}

void QtDiskTestSink::SetFieldText(int controlId, const std::string& text)
{
    if (OnWindowThread()) {
        Target().SetFieldText(controlId, text);
        return;
    }
    {
        std::lock_guard lock(m_pending->mutex);
        m_pending->fields[controlId] = text;
    }
    PostGathered();
}

void QtDiskTestSink::SetProgress(int position, const std::string& text)
{
    if (OnWindowThread()) {
        Target().SetProgress(position, text);
        return;
    }
    {
        std::lock_guard lock(m_pending->mutex);
        m_pending->progressChanged = true;
        m_pending->progress = position;
        m_pending->progressText = text;
    }
    PostGathered();
}

void QtDiskTestSink::EnableControl(int controlId, bool enabled)
{
    Post([controlId, enabled](DiskTestSink& sink) { sink.EnableControl(controlId, enabled); });
}

void QtDiskTestSink::ShowMessage(const std::string& text, const std::string& caption, unsigned type)
{
    Post([text, caption, type](DiskTestSink& sink) { sink.ShowMessage(text, caption, type); });
}

void QtDiskTestSink::OnTestEnded()
{
    Post([](DiskTestSink& sink) { sink.OnTestEnded(); });
}

void QtDiskTestSink::CallOnWindow(std::function<void()> call)
{
    Post([call = std::move(call)](DiskTestSink&) { call(); });
}
