#pragma once

#include "core/app/TestPageState.h"

#include "gui/ui/FittingText.h"

#include <QAbstractListModel>

// The test pages' results list: a view over the lines the test page state
// keeps, so that a line is kept once however many come. The window tells
// it the list's shape as it takes the changes: new lines enter in one
// insertion, a new generation replaces the rows. Its lines shrink to fit.
class TestResultsList : public FittingList {
    Q_OBJECT

public:
    TestResultsList(const TestPageState& state, QWidget* parent);

    void Follow(const TestPageState::ListShape& shape);
    int count() const;
    // The line the list shows in that row ("" when there is none).
    std::string Line(int row) const;

private:
    class Model : public QAbstractListModel {
    public:
        explicit Model(const TestPageState& state, QObject* parent) : QAbstractListModel(parent), m_state(state) {}
        int rowCount(const QModelIndex& parent = QModelIndex()) const override;
        QVariant data(const QModelIndex& index, int role) const override;
        // False when the rows stay as they were.
        bool Follow(const TestPageState::ListShape& shape);
        std::string Line(int row) const;

    private:
        const TestPageState& m_state;
        TestPageState::ListShape m_shown;
    };
    Model* m_model;
};
