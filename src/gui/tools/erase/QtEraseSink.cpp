#include "gui/tools/erase/QtEraseSink.h"

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
