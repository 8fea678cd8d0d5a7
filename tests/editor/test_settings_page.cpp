// The settings page on the real window: the number boxes' typing rules, when Apply is offered,
// and Apply itself (font, size limit, the questions, cutting and padding, undo).
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "ScriptedDialogs.h"
#include "editor/BlockEditing.h"
#include "editor/SettingsPage.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/CanvasPreferences.h"
#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

#include "TextRows.h"

using namespace masumemo;
using editor::frmMain;
using platform::Dialogs;
using testing::repeat;
using Answer = Dialogs::Answer;

namespace {

const std::u16string kFull(1, u'\u3000');

const QString kColumnsCut =
    QStringLiteral("桁数の変更を行います。\r\nデータの一部が切り取られますが、よろしいですか？");
const QString kColumnsMore = QStringLiteral("桁数の変更を行います。\r\nよろしいですか？");
const QString kLinesCut =
    QStringLiteral("行数の変更を行います。\r\nデータの一部が切り取られますが、よろしいですか？");
const QString kLinesMore = QStringLiteral("行数の変更を行います。\r\nよろしいですか？");
const QString kTooLarge = QStringLiteral(
    "ファイルの容量が64kBを超えてしまいます。\r\n文字数か行数を減らしてください。");

}  // namespace

using Lines = std::vector<std::u16string>;
using Answers = std::vector<Answer>;
Q_DECLARE_METATYPE(Lines)
Q_DECLARE_METATYPE(Answers)

class SettingsPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        // Apply remembers the font in the program's settings: a folder of each test's own.
        m_dir = std::make_unique<QTemporaryDir>();
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_dialogs = std::make_unique<testing::ScriptedDialogs>();
        m_window = std::make_unique<frmMain>();
        m_window->optMoji_Click(frmMain::kSettingsCategory);
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void boxesTakeOnlyNumbers_data();
    void boxesTakeOnlyNumbers();
    void applyIsOfferedWhileSomethingDiffers();
    void apply_data();
    void apply();
    void fontAppliesEvenWhenTheSizeIsRefused();
    void undoReturnsToTheFormerSize();
    void aNewSizeKeepsTheMoveOfAFloatingBlock();
    void dotsShowWhileTheProportionalFontIsChosen_data();
    void dotsShowWhileTheProportionalFontIsChosen();
    void fontSizeAndPushStepAreRememberedForTheNextStart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void SettingsPageTest::boxesTakeOnlyNumbers_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<QString>("after");

    QTest::newRow("a digit") << "3" << int(Qt::Key_5) << 0 << "5" << "35";
    QTest::newRow("a letter") << "3" << int(Qt::Key_A) << 0 << "a" << "3";
    QTest::newRow("a keypad digit") << "3" << int(Qt::Key_5) << int(Qt::KeypadModifier) << "5"
                                    << "3";
    QTest::newRow("a shifted digit's symbol") << "3" << int(Qt::Key_1) << int(Qt::ShiftModifier)
                                              << "!" << "3";
    QTest::newRow("Backspace") << "35" << int(Qt::Key_Backspace) << 0 << "" << "3";
    QTest::newRow("emptied: 1") << "3" << int(Qt::Key_Backspace) << 0 << "" << "1";
    QTest::newRow("a paste") << "3" << int(Qt::Key_V) << int(Qt::ControlModifier) << "" << "3";
}

void SettingsPageTest::boxesTakeOnlyNumbers()
{
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(QString, after);
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    for (QLineEdit* box : {m_window->txtKeta(), m_window->txtGyou()}) {
        box->setText(before);
        box->end(false);
        const auto mods = Qt::KeyboardModifiers::fromInt(modifiers);
        QKeyEvent press(QEvent::KeyPress, key, mods, keyText);
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, keyText);
        QApplication::sendEvent(box, &release);
        QCOMPARE(box->text(), after);
        QVERIFY2(!box->isReadOnly(), "a refused key leaves the box writable");
    }
    // Text that arrives without a key (a mouse paste, an input method) is refused as well.
    m_window->txtKeta()->setText(QStringLiteral("40"));
    m_window->txtKeta()->insert(QStringLiteral("x"));
    QCOMPARE(m_window->txtKeta()->text(), QStringLiteral("40"));
    m_window->txtKeta()->setText(QStringLiteral("99999999999"));
    QCOMPARE(m_window->txtKeta()->text(), QStringLiteral("40"));
}

void SettingsPageTest::applyIsOfferedWhileSomethingDiffers()
{
    // Each control in turn moved off the canvas's value and back again.
    frmMain& w = *m_window;
    const std::vector<std::function<void(bool)>> changes = {
        [&](bool off) { w.txtKeta()->setText(off ? QStringLiteral("36") : QStringLiteral("35")); },
        [&](bool off) { w.txtGyou()->setText(off ? QStringLiteral("21") : QStringLiteral("20")); },
        [&](bool off) { w.cboSize()->setCurrentIndex(off ? 5 : 4); },
        [&](bool off) { w.cboFont()->setCurrentIndex(off ? 1 : 0); },
    };
    QVERIFY(!w.cmdTekiyou()->isEnabled());
    for (const auto& change : changes) {
        change(true);
        QVERIFY(w.cmdTekiyou()->isEnabled());
        change(false);
        QVERIFY(!w.cmdTekiyou()->isEnabled());
    }
}

void SettingsPageTest::apply_data()
{
    QTest::addColumn<Lines>("start");  // empty: the fresh 35 x 20 canvas
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("g");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<Lines>("expected");  // empty: only the size is checked
    QTest::addColumn<int>("keta");
    QTest::addColumn<int>("gyou");
    QTest::addColumn<int>("recorded");
    QTest::addColumn<bool>("stillOffered");

    const Lines blank;
    const Lines fresh20(20, repeat(kFull, 35));
    Lines wider(20, repeat(kFull, 36));
    QTest::newRow("36 columns: one more full-width space a line")
        << blank << 36 << 20 << Answers{Answer::Yes} << QStringList{kColumnsMore} << wider << 36
        << 20 << 1 << false;

    Lines endsFull = fresh20;
    endsFull[0] = repeat(kFull, 34) + u"あ";
    Lines cutFull(20, repeat(kFull, 34));
    QTest::newRow("34 columns: a full-width last character goes, no space added")
        << endsFull << 34 << 20 << Answers{Answer::Yes} << QStringList{kColumnsCut} << cutFull
        << 34 << 20 << 1 << false;

    Lines straddles = fresh20;
    straddles[0] = repeat(kFull, 33) + u" あ ";
    Lines straddled = cutFull;
    straddled[0] = repeat(kFull, 33) + u"  ";
    QTest::newRow("34 columns: a full-width character across the edge leaves a space")
        << straddles << 34 << 20 << Answers{Answer::Yes} << QStringList{kColumnsCut} << straddled
        << 34 << 20 << 1 << false;

    Lines numbered;
    for (int i = 0; i < 20; ++i) {
        numbered.push_back(repeat(kFull, 34) + static_cast<char16_t>(u'Ａ' + i));
    }
    QTest::newRow("10 lines keep the first 10")
        << numbered << 35 << 10 << Answers{Answer::Yes} << QStringList{kLinesCut}
        << Lines(numbered.begin(), numbered.begin() + 10) << 35 << 10 << 1 << false;

    QTest::newRow("both refused: nothing changes, Apply is spent")
        << blank << 36 << 21 << Answers{Answer::No, Answer::No}
        << QStringList{kColumnsMore, kLinesMore} << fresh20 << 35 << 20 << 0 << false;
    Lines taller(21, repeat(kFull, 35));
    QTest::newRow("columns refused, lines accepted")
        << blank << 36 << 21 << Answers{Answer::No, Answer::Yes}
        << QStringList{kColumnsMore, kLinesMore} << taller << 35 << 21 << 1 << false;

    QTest::newRow("40 x 800 is the largest canvas")
        << blank << 40 << 800 << Answers{Answer::Yes, Answer::Yes}
        << QStringList{kColumnsMore, kLinesMore} << blank << 40 << 800 << 2 << false;
    QTest::newRow("40 x 801 is too large") << blank << 40 << 801 << Answers{}
                                           << QStringList{kTooLarge} << fresh20 << 35 << 20 << 0
                                           << true;
    QTest::newRow("0 columns are refused")
        << blank << 0 << 20 << Answers{} << QStringList{QStringLiteral("文字数と行数は1以上にしてください。")}
        << fresh20 << 35 << 20 << 0 << true;

    // An opened empty file is a canvas of no lines; applying a size gives exactly that many.
    QTest::newRow("from 0 x 0 to 35 x 20")
        << Lines{} << 35 << 20 << Answers{Answer::Yes, Answer::Yes}
        << QStringList{kColumnsMore, kLinesMore} << fresh20 << 35 << 20 << 2 << false;
}

void SettingsPageTest::apply()
{
    QFETCH(Lines, start);
    QFETCH(int, k);
    QFETCH(int, g);
    QFETCH(Answers, answers);
    QFETCH(QStringList, asked);
    QFETCH(Lines, expected);
    QFETCH(int, keta);
    QFETCH(int, gyou);
    QFETCH(int, recorded);
    QFETCH(bool, stillOffered);
    frmMain& w = *m_window;
    if (!start.empty()) {
        w.canvas().resetCanvas(grid::joinLines(start), 35, 20);
    } else if (QByteArray(QTest::currentDataTag()).startsWith("from 0 x 0")) {
        w.canvas().resetCanvas(std::u16string(), 0, 0);
    }
    // The boxes show the canvas as it stands, as after opening a file.
    w.txtKeta()->setText(QString::number(w.canvas().keta()));
    w.txtGyou()->setText(QString::number(w.canvas().gyou()));
    for (Answer a : answers) {
        m_dialogs->answer(a);
    }
    w.txtKeta()->setText(QString::number(k));
    w.txtGyou()->setText(QString::number(g));
    QTest::mouseClick(w.cmdTekiyou(), Qt::LeftButton);

    QStringList texts;
    for (const auto& m : m_dialogs->messages()) {
        texts << m.text;
    }
    QCOMPARE(texts, asked);
    QCOMPARE(w.canvas().keta(), keta);
    QCOMPARE(w.canvas().gyou(), gyou);
    const Lines lines = grid::SplitText(w.canvasText());
    QCOMPARE(static_cast<int>(lines.size()), gyou);
    for (const auto& line : lines) {
        QCOMPARE(grid::WidthOf(line), 2 * keta);
    }
    if (!expected.empty()) {
        QCOMPARE(lines, expected);
    }
    QCOMPARE(static_cast<int>(w.history().entries().size()), 1 + recorded);
    QCOMPARE(w.history().current().Text, w.canvasText());
    QVERIFY2(!w.canvas().modified(), "a size change is not an edit of the picture");
    QCOMPARE(w.cmdTekiyou()->isEnabled(), stillOffered);
    if (texts.size() == 1 && !texts[0].contains(QStringLiteral("変更"))) {
        QVERIFY(m_dialogs->messages()[0].icon == Dialogs::Icon::Critical ||
                m_dialogs->messages()[0].icon == Dialogs::Icon::Warning);
    } else {
        for (const auto& m : m_dialogs->messages()) {
            QCOMPARE(m.icon, Dialogs::Icon::Question);
            QCOMPARE(m.buttons, Dialogs::Buttons::YesNo);
        }
    }
}

void SettingsPageTest::fontAppliesEvenWhenTheSizeIsRefused()
{
    frmMain& w = *m_window;
    w.cboFont()->setCurrentIndex(1);
    w.cboSize()->setCurrentIndex(9);
    w.txtKeta()->setText(QStringLiteral("100"));
    w.txtGyou()->setText(QStringLiteral("321"));
    w.settingsPage().cmdTekiyou_Click();
    QCOMPARE(m_dialogs->messages().size(), size_t{1});
    QCOMPARE(m_dialogs->messages()[0].icon, Dialogs::Icon::Critical);
    QCOMPARE(w.txtMain()->font().family(), platform::kPGothic);
    QCOMPARE(w.txtMain()->font().pointSize(), 22);
    QCOMPARE(w.state().FontIndex, 1);
    QCOMPARE(w.state().SizeIndex, 9);
    // The page opened again shows the applied font, not the designed one.
    w.optMoji_Click(0);
    w.optMoji_Click(frmMain::kSettingsCategory);
    QCOMPARE(w.cboFont()->currentIndex(), 1);
    QCOMPARE(w.cboSize()->currentIndex(), 9);
}

void SettingsPageTest::undoReturnsToTheFormerSize()
{
    frmMain& w = *m_window;
    m_dialogs->answer(Answer::Yes);
    m_dialogs->answer(Answer::Yes);
    w.txtKeta()->setText(QStringLiteral("30"));
    w.txtGyou()->setText(QStringLiteral("10"));
    w.settingsPage().cmdTekiyou_Click();
    QCOMPARE(w.history().entries().size(), size_t{3});

    w.tbToolBar_ButtonClick(w.toolButton(9));  // the line change
    QCOMPARE(w.canvas().keta(), 30);
    QCOMPARE(w.canvas().gyou(), 20);
    QCOMPARE(w.txtGyou()->text(), QStringLiteral("20"));
    w.tbToolBar_ButtonClick(w.toolButton(9));  // the column change
    QCOMPARE(w.canvasText(), grid::blankCanvas(35, 20));
    QCOMPARE(w.txtKeta()->text(), QStringLiteral("35"));
    QCOMPARE(w.txtGyou()->text(), QStringLiteral("20"));
    // A refused keystroke now restores this size, not another one.
    w.setCanvasCaret(68);
    QTest::keyClick(w.txtMain(), Qt::Key_A);
    QTest::keyClick(w.txtMain(), Qt::Key_B);
    for (const auto& line : grid::SplitText(w.canvasText())) {
        QCOMPARE(grid::WidthOf(line), 70);
    }
}

void SettingsPageTest::aNewSizeKeepsTheMoveOfAFloatingBlock()
{
    // "ab" lifted in rectangle mode and moved a line down, still floating, when Apply widens
    // the canvas: the block is laid down first and the wider canvas holds the move.
    frmMain& w = *m_window;
    w.setCanvasCaret(0);
    QTest::keyClicks(w.txtMain(), QStringLiteral("ab"));
    w.findChild<QAction*>(QStringLiteral("mnuBlock"))->trigger();
    auto* block = w.findChild<editor::BlockEditing*>();
    block->select({0, 0}, {2, 0});
    QTest::keyClick(w.txtMain(), Qt::Key_Down, Qt::ControlModifier);
    QVERIFY(block->isFloating());
    m_dialogs->answer(Answer::Yes);
    w.txtKeta()->setText(QStringLiteral("36"));
    w.settingsPage().cmdTekiyou_Click();
    QVERIFY(!block->isFloating());
    QCOMPARE(w.canvas().keta(), 36);
    const auto lines = grid::SplitText(w.canvasText());
    QCOMPARE(lines[0].substr(0, 3), std::u16string(u"  \u3000"));
    QCOMPARE(lines[1].substr(0, 3), std::u16string(u"ab\u3000"));
}

void SettingsPageTest::dotsShowWhileTheProportionalFontIsChosen_data()
{
    QTest::addColumn<int>("sizeIndex");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("dots");
    // Line 1 is "　 .|" (11 + 5 + 3 + 4 dots) and 33 blanks, 37 characters; line 2 is blank.
    QTest::newRow("line start") << 4 << 0 << QStringLiteral("ﾄﾞｯﾄ[ 0 / 23 ]");
    QTest::newRow("after the half-width space") << 4 << 2 << QStringLiteral("ﾄﾞｯﾄ[ 16 / 23 ]");
    QTest::newRow("after the bar") << 4 << 4 << QStringLiteral("ﾄﾞｯﾄ[ 23 / 23 ]");
    QTest::newRow("in the blanks after it") << 4 << 5 << QStringLiteral("ﾄﾞｯﾄ[ 34 / 23 ]");
    QTest::newRow("blank line") << 4 << 39 + 1 << QStringLiteral("ﾄﾞｯﾄ[ 11 / 0 ]");
    QTest::newRow("22 points still count 12-point dots")
        << 9 << 2 << QStringLiteral("ﾄﾞｯﾄ[ 16 / 23 ]");
}

void SettingsPageTest::dotsShowWhileTheProportionalFontIsChosen()
{
    QFETCH(int, sizeIndex);
    QFETCH(int, caret);
    QFETCH(QString, dots);
    frmMain& w = *m_window;
    std::u16string text = w.canvasText();
    text.replace(0, 35, u"\u3000 .|" + repeat(kFull, 32) + u" ");
    w.setCanvasText(text);
    w.setCanvasCaret(caret);
    const QString position = w.statusPanel(1)->text();
    QVERIFY(w.statusPanel(4)->isHidden());

    w.cboFont()->setCurrentIndex(1);
    w.cboSize()->setCurrentIndex(sizeIndex);
    w.settingsPage().cmdTekiyou_Click();
    QVERIFY(!w.statusPanel(4)->isHidden());
    QCOMPARE(w.statusPanel(4)->text(), dots);
    w.setCanvasCaret(0);
    QCOMPARE(w.statusPanel(4)->text(), QStringLiteral("ﾄﾞｯﾄ[ 0 / 23 ]"));
    w.setCanvasCaret(caret);
    QCOMPARE(w.statusPanel(4)->text(), dots);
    QCOMPARE(w.statusPanel(1)->text(), position);

    w.cboFont()->setCurrentIndex(0);
    w.settingsPage().cmdTekiyou_Click();
    QVERIFY(w.statusPanel(4)->isHidden());
    QCOMPARE(w.statusPanel(1)->text(), position);
    QCOMPARE(w.statusPanel(2)->text(), QStringLiteral("半角移動"));
    QVERIFY(m_dialogs->messages().empty());
}

QTEST_MAIN(SettingsPageTest)
#include "test_settings_page.moc"

void SettingsPageTest::fontSizeAndPushStepAreRememberedForTheNextStart()
{
    // An author of proportional pictures chooses the font once.
    m_window->cboFont()->setCurrentIndex(1);
    m_window->cboSize()->setCurrentIndex(m_window->cboSize()->findText(QStringLiteral("14")));
    m_window->settingsPage().cmdTekiyou_Click();
    // The dot step, which the proportional font offers.
    m_window->findChild<QRadioButton*>(QStringLiteral("optPush_2"))->click();
    m_window.reset();

    const auto started = [] {
        auto w = std::make_unique<frmMain>();
        w->optMoji_Click(frmMain::kSettingsCategory);
        return w;
    };
    m_window = started();
    QCOMPARE(m_window->txtMain()->font().family(), platform::kPGothic);
    QCOMPARE(m_window->txtMain()->font().pointSize(), 14);
    QCOMPARE(m_window->cboFont()->currentIndex(), 1);
    QCOMPARE(m_window->cboSize()->currentText(), QStringLiteral("14"));
    QVERIFY(!m_window->cmdTekiyou()->isEnabled());
    QCOMPARE(m_window->canvas().pushStep(), editor::PushStep::Dot);
    QVERIFY(m_window->findChild<QRadioButton*>(QStringLiteral("optPush_2"))->isChecked());
    QVERIFY(m_window->statusPanel(4)->isVisibleTo(m_window.get()));  // the dots of that font
    m_window.reset();

    // A hand-edited file: what the page does not offer gives the defaults, and the dot step
    // without the font that offers it is the half step.
    const struct
    {
        const char* name;
        QVariant step;
        editor::PushStep want;
    } rows[] = {
        {"dot step in the fixed font", 2, editor::PushStep::Half},
        {"full step", 1, editor::PushStep::Full},
        {"no number", QStringLiteral("perhaps"), editor::PushStep::Half},
        {"beyond the steps: the last, the dot step", 7, editor::PushStep::Half},
    };
    for (const auto& row : rows) {
        {
            const auto settings = platform::openProgramSettings();
            settings->setValue(QStringLiteral("Canvas/Font"), QStringLiteral("Comic Sans"));
            settings->setValue(QStringLiteral("Canvas/FontSize"), 13);
            settings->setValue(QStringLiteral("Canvas/PushStep"), row.step);
        }
        m_window = started();
        QCOMPARE(m_window->txtMain()->font().family(), platform::kGothic);
        QCOMPARE(m_window->txtMain()->font().pointSize(), 12);
        QVERIFY2(m_window->canvas().pushStep() == row.want, row.name);
        m_window.reset();
    }

    // Apply with the font remembered leaves the file alone: a note added by hand stays.
    m_window = started();
    platform::rememberCanvasFont(platform::kGothic, 12);
    QFile file(platform::openProgramSettings()->fileName());
    QVERIFY(file.open(QIODevice::Append) && file.write("; a note\n") > 0);
    file.close();
    m_window->settingsPage().cmdTekiyou_Click();
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().contains("; a note"));
}
