#include "gui/tools/erase/QtEraseSink.h"

#include "gui/ui/WindowThread.h"

QtEraseSink::QtEraseSink(QObject* window, EraseSink& onWindowThread) : m_window(window), m_target(onWindowThread)
{
}

void QtEraseSink::Post(std::function<void(EraseSink&)> call)
{
    EraseSink* target = &m_target;
    RunOnWindowThread(m_window.data(), [target, call = std::move(call)] { call(*target); });
}

void QtEraseSink::SetStatus(const std::string& text)
{
    Post([text](EraseSink& sink) { sink.SetStatus(text); });
}

void QtEraseSink::SetProgress(int percent)
{
    Post([percent](EraseSink& sink) { sink.SetProgress(percent); });
}

void QtEraseSink::Ended(const EraseResult& result)
{
    Post([result](EraseSink& sink) { sink.Ended(result); });
}
