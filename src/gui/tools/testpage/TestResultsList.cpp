#include "gui/tools/testpage/TestResultsList.h"

#include <algorithm>
#include <climits>

namespace {

int Rows(std::size_t lines)
{
    return static_cast<int>(std::min<std::size_t>(lines, INT_MAX));
}

}  // namespace

TestResultsList::TestResultsList(const TestPageState& state, QWidget* parent) :
    FittingList(parent), m_model(new Model(state, this))
{
    // Lines of one height, laid out in batches: a million lines (a disc that
    // is gone everywhere) must not lay out each line as it comes.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(m_model);
}

void TestResultsList::Follow(const TestPageState::ListShape& shape)
{
    if (m_model->Follow(shape) && count() > 2)
        scrollToBottom();
}

int TestResultsList::count() const
{
    return m_model->rowCount();
}

std::string TestResultsList::Line(int row) const
{
    return m_model->Line(row);
}

int TestResultsList::Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows(m_shown.lines);
}

QVariant TestResultsList::Model::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return QString::fromStdString(Line(index.row()));
}

std::string TestResultsList::Model::Line(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_state.ListLine(m_shown.generation, static_cast<std::size_t>(row)).value_or(std::string());
}

bool TestResultsList::Model::Follow(const TestPageState::ListShape& shape)
{
    if (shape.generation != m_shown.generation) {
        beginResetModel();
        m_shown = shape;
        endResetModel();
        return true;
    }
    if (Rows(shape.lines) <= rowCount())
        return false;
    beginInsertRows(QModelIndex(), rowCount(), Rows(shape.lines) - 1);
    m_shown.lines = shape.lines;
    endInsertRows();
    return true;
}
