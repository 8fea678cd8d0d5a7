// The palette on the real window: category switching, writing characters from the grid and
// from the recently used row, and click input.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <memory>

#include "ScriptedDialogs.h"
#include "editor/PaletteInput.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "input/PaletteTables.h"
#include "platform/Fonts.h"

#include "TextRows.h"

using namespace masumemo;
using editor::frmMain;
using platform::Dialogs;
using testing::repeat;

namespace {

const std::u16string kFull(1, u'\u3000');

}  // namespace

class PaletteInputTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        m_dialogs = std::make_unique<testing::ScriptedDialogs>();
        m_window = std::make_unique<frmMain>();
        m_window->show();
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
    }

    void categorySwitchShowsExactlyTheTable();
    void everyCharacterIsDrawnByTheButtonFont();
    void settingsPageResetsAllButTheLineBox();
    void pressWrites_data();
    void pressWrites();
    void recentRow();
    void selectionIsBlankedBeforeWriting();
    void clickInputHoldsTheLastChoiceAndStamps();
    void clickInputWithNothingHeldLeavesNoMark();

private:
    void press(int button, Qt::MouseButton mouse = Qt::LeftButton);
    void category(int index) { m_window->optMoji_Click(index); }
    int historySize() const { return static_cast<int>(m_window->history().entries().size()); }
    void clickCanvas(Qt::MouseButton mouse, int line, int column);

    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void PaletteInputTest::press(int button, Qt::MouseButton mouse)
{
    QPushButton* b = m_window->cmdMoji(button);
    QVERIFY2(b->isVisible(), "a hidden button cannot be pressed");
    QTest::mousePress(b, mouse);
    QTest::mouseRelease(b, mouse);
}

void PaletteInputTest::clickCanvas(Qt::MouseButton mouse, int line, int column)
{
    // Put the pointer on the cell: the caret goes there before the stamp.
    editor::CanvasWidget* t = m_window->txtMain();
    QTextCursor c(t->document()->findBlockByNumber(line));
    c.setPosition(c.position() + column);
    const QRect cell = t->cursorRect(c);
    QTest::mouseClick(t->viewport(), mouse, {}, cell.center() + QPoint(1, 0));
}

void PaletteInputTest::categorySwitchShowsExactlyTheTable()
{
    // Every switch, in both directions, leaves each button as the table says: nothing hidden
    // by the previous category stays hidden.
    frmMain& w = *m_window;
    for (int from = 0; from < input::kCharacterCategoryCount; ++from) {
        for (int to = 0; to < input::kCharacterCategoryCount; ++to) {
            category(from);
            category(input::kSettingsCategory);  // the page between leaves the grid alone
            category(to);
            for (int i = 0; i < frmMain::kMojiCount; ++i) {
                const bool shown = input::paletteCharacter(to, i) != 0;
                const QString where = QStringLiteral("%1 -> %2, button %3").arg(from).arg(to).arg(i);
                QVERIFY2(w.cmdMoji(i)->isVisible() == shown, qPrintable(where));
                if (shown) {
                    QVERIFY2(w.cmdMoji(i)->text().toStdU16String() == input::paletteCaption(to, i),
                             qPrintable(where));
                }
            }
            QVERIFY(w.fraButton(0)->isVisible());
        }
    }
}

void PaletteInputTest::everyCharacterIsDrawnByTheButtonFont()
{
    // A character the face lacks would show as an empty box on its button.
    frmMain& w = *m_window;
    QCOMPARE(w.cmdMoji(0)->font().family(), platform::kGothic);
    QCOMPARE(w.cmdUse(0)->font().family(), platform::kPGothic);
    QVERIFY2(w.cmdMoji(0)->font().pointSize() >= 12, "large enough to read");
    for (const QFont& font : {w.cmdMoji(0)->font(), w.cmdUse(0)->font()}) {
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.familyName().contains(QStringLiteral("IPA"), Qt::CaseInsensitive)) {
            QSKIP("the IPA Gothic fonts are not installed");
        }
        for (int cat = 0; cat < input::kCharacterCategoryCount; ++cat) {
            for (int i = 0; i < frmMain::kMojiCount; ++i) {
                const char16_t c = input::paletteCharacter(cat, i);
                QVERIFY2(c == 0 || raw.supportsCharacter(QChar(c)),
                         qPrintable(QStringLiteral("category %1 button %2").arg(cat).arg(i)));
            }
        }
    }
}

void PaletteInputTest::settingsPageResetsAllButTheLineBox()
{
    frmMain& w = *m_window;
    for (int round = 0; round < 2; ++round) {
        w.cboFont()->setCurrentIndex(1);
        w.cboSize()->setCurrentIndex(9);
        w.txtKeta()->setText(QStringLiteral("50"));
        w.txtGyou()->setText(QStringLiteral("60"));
        QVERIFY(w.cmdTekiyou()->isEnabled());
        category(input::kSettingsCategory);
        QVERIFY(w.fraButton(1)->isVisible());
        QVERIFY(!w.fraButton(0)->isVisible());
        QCOMPARE(w.cboFont()->currentIndex(), 0);
        QCOMPARE(w.cboSize()->currentIndex(), 4);
        QCOMPARE(w.txtKeta()->text(), QStringLiteral("35"));
        QCOMPARE(w.txtGyou()->text(), QStringLiteral("60"));
        QVERIFY2(!w.cmdTekiyou()->isEnabled(), "disabled even though the line box differs");
    }
}

void PaletteInputTest::pressWrites_data()
{
    QTest::addColumn<int>("cat");
    QTest::addColumn<int>("button");
    QTest::addColumn<Qt::MouseButton>("mouse");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("front");

    QTest::newRow("ampersand, left") << 0 << 6 << Qt::LeftButton << "&" << "&&";
    QTest::newRow("full-width ampersand, right") << 2 << 13 << Qt::RightButton << "&" << "&&";
    QTest::newRow("full-width A, right: narrowed") << 5 << 26 << Qt::RightButton << "A" << "A";
    QTest::newRow("full-width A, middle: as is") << 5 << 26 << Qt::MiddleButton << "Ａ" << "Ａ";
    QTest::newRow("kanji stroke, right: no narrow form") << 6 << 78 << Qt::RightButton << "丿"
                                                          << "丿";
    QTest::newRow("katakana, right: half-width") << 6 << 0 << Qt::RightButton << "ｱ" << "ｱ";
}

void PaletteInputTest::pressWrites()
{
    QFETCH(int, cat);
    QFETCH(int, button);
    QFETCH(Qt::MouseButton, mouse);
    QFETCH(QString, written);
    QFETCH(QString, front);
    frmMain& w = *m_window;
    category(cat);
    w.setCanvasCaret(0);
    press(button, mouse);

    const std::u16string first = grid::SplitText(w.canvasText()).front();
    QCOMPARE(QString::fromStdU16String(first.substr(0, static_cast<size_t>(written.size()))),
             written);
    QCOMPARE(w.cmdUse(0)->text(), front);
    QVERIFY(w.canvas().modified());
    QCOMPARE(historySize(), 2);
    QCOMPARE(w.canvasCaret(), static_cast<int>(written.size()));
}

void PaletteInputTest::recentRow()
{
    frmMain& w = *m_window;
    const auto row = [&w] {
        QStringList r;
        for (int i = 0; i < frmMain::kUseCount; ++i) {
            r << w.cmdUse(i)->text();
        }
        return r;
    };
    // Both ampersand buttons share one entry.
    category(0);
    press(6);
    category(2);
    press(13, Qt::RightButton);
    QCOMPARE(row().mid(0, 2), (QStringList{"&&", ""}));
    // Written from the row it is one "&"; an empty slot writes nothing.
    w.setCanvasCaret(10);
    w.cmdUse(0)->click();
    QCOMPARE(w.canvasText().substr(10, 1), std::u16string(u"&"));
    const int entries = historySize();
    w.cmdUse(5)->click();
    QCOMPARE(historySize(), entries);
    // Fill the row with 18 distinct characters: Ａ..Ｒ, newest first.
    category(5);
    for (int i = 0; i < frmMain::kUseCount; ++i) {
        press(26 + i);
    }
    const QStringList full = row();
    QCOMPARE(full.back(), QStringLiteral("Ａ"));
    // The oldest, used from the row itself, moves to the front; the rest keep their order.
    w.setCanvasCaret(0);
    w.cmdUse(17)->click();
    QStringList expected = full.mid(0, 17);
    expected.prepend(QStringLiteral("Ａ"));
    QCOMPARE(row(), expected);
    QCOMPARE(w.canvasText().substr(0, 1), std::u16string(u"Ａ"));
}

void PaletteInputTest::selectionIsBlankedBeforeWriting()
{
    frmMain& w = *m_window;
    // Two lines of kana; select from line 1 column 2 to line 2 column 3.
    const std::u16string line = repeat(u"あ", 35);
    w.canvas().resetCanvas(grid::joinLines(std::vector<std::u16string>(20, line)), 35, 20);
    const int start = 2;
    const int end = 37 + 3;  // a line is 35 characters and CR LF
    w.txtMain()->setSelection(start, end - start);
    category(5);
    press(26);
    const std::vector<std::u16string> lines = grid::SplitText(w.canvasText());
    QCOMPARE(lines.size(), size_t{20});
    QCOMPARE(lines[0], repeat(u"あ", 2) + u"Ａ" + repeat(kFull, 32));
    QCOMPARE(lines[1], repeat(kFull, 3) + repeat(u"あ", 32));
    QCOMPARE(lines[2], line);
    QCOMPARE(w.canvasCaret(), 3);
}

void PaletteInputTest::clickInputHoldsTheLastChoiceAndStamps()
{
    frmMain& w = *m_window;
    editor::PaletteInput& p = w.paletteInput();
    QLabel* panel = w.statusPanel(3);
    QVERIFY(!panel->isVisible());

    // The mode shows in the pressed button and the panel, never in a message box.
    QAction* button = w.toolButton(13);
    button->trigger();
    QVERIFY(w.state().ClickInput);
    QVERIFY(button->isChecked());
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->text(), QStringLiteral("クリック入力"));

    // Presses only choose: no writing, no row entry; an ampersand is held as one "&".
    category(5);
    press(26);
    category(0);
    press(6, Qt::RightButton);
    QCOMPARE(p.HeldChar(), std::u16string(u"&"));
    category(6);
    press(0);
    QCOMPARE(p.HeldChar(), std::u16string(u"ア"));
    QCOMPARE(panel->text(), QStringLiteral("クリック入力: ア"));
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
    QCOMPARE(w.cmdUse(0)->text(), QString());

    // Off and on again: the held character survives.
    button->trigger();
    QVERIFY(!w.state().ClickInput);
    QVERIFY(!button->isChecked());
    QVERIFY(!panel->isVisible());
    button->trigger();
    QCOMPARE(p.HeldChar(), std::u16string(u"ア"));
    QCOMPARE(panel->text(), QStringLiteral("クリック入力: ア"));
    QVERIFY(m_dialogs->messages().empty());

    // Left and middle clicks stamp where they land, as one typed character; right never does.
    clickCanvas(Qt::LeftButton, 2, 4);
    clickCanvas(Qt::MiddleButton, 5, 0);
    clickCanvas(Qt::RightButton, 7, 0);
    if (QWidget* menu = QApplication::activePopupWidget()) {
        menu->close();
    }
    const std::vector<std::u16string> lines = grid::SplitText(w.canvasText());
    QCOMPARE(lines[2], repeat(kFull, 4) + u"ア" + repeat(kFull, 30));
    QCOMPARE(lines[5], u"ア" + repeat(kFull, 34));
    QCOMPARE(lines[7], repeat(kFull, 35));
    QCOMPARE(historySize(), 3);
}

void PaletteInputTest::clickInputWithNothingHeldLeavesNoMark()
{
    frmMain& w = *m_window;
    w.tbToolBar_ButtonClick(w.toolButton(13));
    clickCanvas(Qt::LeftButton, 0, 3);
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
    QCOMPARE(historySize(), 1);
    QVERIFY(!w.canvas().modified());
    // What comes next is not taken for a typed character: a two-character text mid-line is
    // laid over the line, which keeps its width.
    w.setCanvasCaret(10);
    w.paletteInput().InsertAtCaret(u"ab");
    const std::u16string first = grid::SplitText(w.canvasText()).front();
    QCOMPARE(grid::WidthOf(first), 70);
    QCOMPARE(first.substr(10, 2), std::u16string(u"ab"));
}

QTEST_MAIN(PaletteInputTest)
#include "test_palette_input.moc"
