#include "core/ui/MatrixText.h"

#include <gtest/gtest.h>

#include <set>

TEST(MatrixGlyphs, PresetsAndTheSheetTheyCopyFrom)
{
    EXPECT_EQ(MatrixPreset(2), (MatrixCellMetrics{10, 14, 1, 3, kMatrixSheetSmall}));
    EXPECT_EQ(MatrixPreset(0), (MatrixCellMetrics{14, 20, 2, 2, kMatrixSheetMedium}));
    EXPECT_EQ(MatrixPreset(1), (MatrixCellMetrics{19, 27, 3, 3, kMatrixSheetLarge}));
    EXPECT_EQ(MatrixPreset(7), MatrixPreset(1));
    EXPECT_EQ(GlyphSheetSize(MatrixPreset(2)), (UiSize{352, 51}));
}

TEST(MatrixGlyphs, CellOfEachCharacter)
{
    const MatrixCellMetrics small = MatrixPreset(2);
    struct Case {
        char character;
        UiPoint origin;
    };
    const Case cases[] = {
        {' ', {0, 0}},    {'?', {341, 0}},     {'@', {0, 17}}, {'A', {11, 17}},  {'_', {341, 17}}, {'`', {0, 34}},
        {'~', {330, 34}}, {'\x7f', {341, 34}}, {'\t', {0, 0}}, {'\x80', {0, 0}}, {'\xC3', {0, 0}},  // no cell: blank
    };
    for (const Case& c : cases)
        EXPECT_EQ(GlyphCellOrigin(c.character, small), c.origin) << int(static_cast<unsigned char>(c.character));
}

TEST(MatrixGlyphs, EveryPrintableCharacterHasItsOwnPattern)
{
    std::set<GlyphRows> seen;
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
        const GlyphRows& rows = GlyphPattern(static_cast<unsigned char>(code));
        for (const std::uint8_t row : rows)
            EXPECT_LT(row, 1u << kGlyphDotColumns) << code;
        EXPECT_TRUE(seen.insert(rows).second) << "pattern of " << code << " repeats";
    }
    EXPECT_EQ(GlyphPattern(' '), GlyphRows{});
    // 'L': the left column lit on every row, the bottom row full.
    for (int row = 0; row < kGlyphDotRows; ++row)
        EXPECT_TRUE(GlyphDotLit('L', 0, row));
    for (int column = 0; column < kGlyphDotColumns; ++column)
        EXPECT_TRUE(GlyphDotLit('L', column, 6));
    EXPECT_FALSE(GlyphDotLit('L', 4, 0));
    EXPECT_FALSE(GlyphDotLit('L', 5, 0));  // outside the cell
    EXPECT_EQ(GlyphPattern(200), GlyphPattern(' '));
}

TEST(MatrixGlyphs, DotsStayInsideTheirCell)
{
    for (const int preset : {0, 1, 2}) {
        const MatrixCellMetrics metrics = MatrixPreset(preset);
        UiRect previous{};
        for (int row = 0; row < kGlyphDotRows; ++row) {
            for (int column = 0; column < kGlyphDotColumns; ++column) {
                const UiRect dot = GlyphDotRect(metrics, column, row);
                EXPECT_FALSE(dot.IsEmpty());
                EXPECT_GE(dot.left, 0);
                EXPECT_GE(dot.top, 0);
                EXPECT_LE(dot.right, metrics.cellWidth) << preset;
                EXPECT_LE(dot.bottom, metrics.cellHeight) << preset;
                if (column > 0) {
                    EXPECT_GE(dot.left, previous.right);  // dots never overlap
                }
                previous = dot;
            }
        }
    }
    EXPECT_EQ(GlyphDotRect(MatrixPreset(2), 4, 6), (UiRect{8, 12, 10, 14}));
}

TEST(MatrixGlyphs, SheetColoursAreRemapped)
{
    const LedColorScheme scheme{0x112233, 0x445566, 0x778899};
    EXPECT_EQ(RemapSheetColor(kSheetLit, scheme), 0x445566u);
    EXPECT_EQ(RemapSheetColor(kSheetUnlit, scheme), 0x778899u);
    EXPECT_EQ(RemapSheetColor(kSheetBackground, scheme), 0x112233u);
    EXPECT_EQ(RemapSheetColor(0x123456, scheme), 0x123456u);
}

TEST(MatrixText, AutoPadFillsTheRow)
{
    MatrixTextModel model;
    model.SetRowCount(1);
    model.SetColumnCount(40);
    model.SetSize(2);
    model.SetAutoPad(true, ' ');
    EXPECT_TRUE(model.SetText("Ready"));
    EXPECT_EQ(model.Text(), "Ready" + std::string(35, ' '));
    EXPECT_FALSE(model.SetText("Ready"));  // the same text paints once
    EXPECT_FALSE(model.SetText(model.Text()));
    EXPECT_TRUE(model.SetText("Busy"));
    EXPECT_EQ(model.Layout().size(), 40u);
}

TEST(MatrixText, SameTextTwiceChangesNothing)
{
    MatrixTextModel model;
    EXPECT_TRUE(model.SetText("ABC"));
    EXPECT_EQ(model.Columns(), 3);
    EXPECT_EQ(model.Rows(), 1);
    EXPECT_FALSE(model.SetText("ABC"));
    EXPECT_TRUE(model.SetText("ABCD"));
    EXPECT_EQ(model.Columns(), 3);  // set once, kept
}

TEST(MatrixText, BlockOfRowsStopsAtItsLastCell)
{
    MatrixTextModel model;
    model.SetSize(2);
    model.SetRowCount(2);
    model.SetColumnCount(4);
    model.SetText("ABCDEFGHI");
    const auto cells = model.Layout();
    ASSERT_EQ(cells.size(), 8u);  // the ninth is not drawn
    const MatrixCellMetrics m = model.Metrics();
    EXPECT_EQ(cells[0], (MatrixTextModel::CellCopy{GlyphCellOrigin('A', m), {0, 0}}));
    EXPECT_EQ(cells[3], (MatrixTextModel::CellCopy{GlyphCellOrigin('D', m), {33, 0}}));
    EXPECT_EQ(cells[4], (MatrixTextModel::CellCopy{GlyphCellOrigin('E', m), {0, 17}}));
    EXPECT_EQ(cells[7], (MatrixTextModel::CellCopy{GlyphCellOrigin('H', m), {33, 17}}));

    model.SetRowCount(1);
    EXPECT_EQ(model.Layout().size(), 4u);
    model.SetRowCount(0);  // 9 / 4 rows = 2
    EXPECT_EQ(model.Rows(), 2);
}

TEST(MatrixText, WithoutRowsTheTextRunsOnAlongOneLine)
{
    MatrixTextModel model;
    model.SetSize(2);
    model.SetColumnCount(3);
    model.SetText("ABCDEFG");
    model.SetRowCount(0);  // 7 / 3 = 2 rows
    model.SetColumnCount(10);
    model.SetRowCount(0);  // 7 / 10 = 0 rows
    ASSERT_EQ(model.Rows(), 0);
    const auto cells = model.Layout();
    ASSERT_EQ(cells.size(), 7u);
    EXPECT_EQ(cells[6].dest, (UiPoint{66, 0}));
}

TEST(MatrixText, WindowSizesFitTheCells)
{
    MatrixTextModel model;
    model.SetSize(2);
    const UiSize wide = model.AdjustWidthToColumns(40, {100, 30});
    EXPECT_EQ(wide, (UiSize{446, 36}));
    EXPECT_EQ(model.Columns(), 40);
    const UiSize client{wide.width - MatrixTextModel::kFrameTotal, wide.height - MatrixTextModel::kFrameTotal};
    const UiSize fitted = model.AdjustHeightToRows(1, client);
    EXPECT_EQ(fitted, (UiSize{446, 20}));
    EXPECT_EQ(model.Rows(), 1);
    // The client area holds the 40 cells.
    EXPECT_GE(fitted.width - MatrixTextModel::kFrameTotal, 40 * model.Metrics().PitchX());
    EXPECT_GE(fitted.height - MatrixTextModel::kFrameTotal, model.Metrics().PitchY());

    model.AdjustWidthToColumns(20, client);
    EXPECT_EQ(model.Columns(), 40);  // taken only while still 0
}

TEST(MatrixText, GetTextCutsToTheBuffer)
{
    MatrixTextModel model;
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(model.GetText(buffer, sizeof buffer), 0);
    model.SetText("Status line text");
    EXPECT_EQ(model.GetText(buffer, sizeof buffer), 16);
    EXPECT_STREQ(buffer, "Status ");
    char one[1] = {'x'};
    EXPECT_EQ(model.GetText(one, 1), 16);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(model.GetText(one, 0), 16);  // no room: nothing written
    EXPECT_EQ(model.GetText(nullptr, 60), 16);
}

TEST(MatrixText, RotationTurnsEachRowLeft)
{
    MatrixTextModel line;
    line.SetColumnCount(6);
    line.SetRowCount(1);
    line.SetAutoPad(true, '.');
    line.SetText("ABC");
    line.Rotate();
    EXPECT_EQ(line.Text(), "BC...A");

    MatrixTextModel block;
    block.SetRowCount(2);
    block.SetColumnCount(3);
    block.SetText("ABCDEF");
    block.Rotate();
    EXPECT_EQ(block.Text(), "BCAEFD");

    MatrixTextModel shortBlock;
    shortBlock.SetRowCount(2);
    shortBlock.SetColumnCount(4);
    shortBlock.SetText("AB");
    shortBlock.Rotate();  // shorter than a row: still turned
    EXPECT_EQ(shortBlock.Text(), "BA");

    MatrixTextModel empty;
    empty.Rotate();
    EXPECT_EQ(empty.Text(), "");
}
