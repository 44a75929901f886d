#pragma once

#include "core/tools/erase/EraseSink.h"

#include <QPointer>

#include <functional>

class QObject;

// An erase dialog's sink as the erase's worker sees it: every call is
// handed to the dialog's thread, in order, and made there on the dialog's
// own sink. Calls made on the dialog's thread go straight through; calls
// that arrive after the dialog is gone are dropped.
class QtEraseSink : public EraseSink {
public:
    QtEraseSink(QObject* window, EraseSink& onWindowThread);

    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void Ended(const EraseResult& result) override;

private:
    void Post(std::function<void(EraseSink&)> call);

    QPointer<QObject> m_window;
    EraseSink& m_target;
};
