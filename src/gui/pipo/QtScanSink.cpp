#include "gui/pipo/QtScanSink.h"

void QtScanSink::SetStatus(const std::string& text)
{
    Post([text](ScanSink& sink) { sink.SetStatus(text); });
}

void QtScanSink::SetProgress(int position)
{
    Post([position](ScanSink& sink) { sink.SetProgress(position); });
}

void QtScanSink::SetDisplays(const ScanDisplayTexts& texts)
{
    Post([texts](ScanSink& sink) { sink.SetDisplays(texts); });
}

void QtScanSink::SetCaption(int controlId, const std::string& text)
{
    Post([controlId, text](ScanSink& sink) { sink.SetCaption(controlId, text); });
}

void QtScanSink::ScaleCaptionsChanged()
{
    Post([](ScanSink& sink) { sink.ScaleCaptionsChanged(); });
}

void QtScanSink::EnableControl(int controlId, bool enabled)
{
    Post([controlId, enabled](ScanSink& sink) { sink.EnableControl(controlId, enabled); });
}

void QtScanSink::ShowControl(int controlId, bool shown)
{
    Post([controlId, shown](ScanSink& sink) { sink.ShowControl(controlId, shown); });
}

void QtScanSink::ShowQualityRating()
{
    Post([](ScanSink& sink) { sink.ShowQualityRating(); });
}

void QtScanSink::OnStop()
{
    Post([](ScanSink& sink) { sink.OnStop(); });
}

void QtScanSink::RestoreStatusDisplay(const std::string& savedStatus)
{
    Post([savedStatus](ScanSink& sink) { sink.RestoreStatusDisplay(savedStatus); });
}

void QtScanSink::Beep(unsigned type)
{
    Post([type](ScanSink& sink) { sink.Beep(type); });
}
