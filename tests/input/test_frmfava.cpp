// The favourites registration window as the user sees it: captions, and the buttons and field
// following the registration rules as the user clicks and types.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "input/frmFava.h"

using namespace masumemo::input;

class FrmFavaTest : public QObject
{
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void clicksAndEdits_data();
    void clicksAndEdits();
    void pastedLineBreaksAreDropped();
};

void FrmFavaTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("window") << "frmFava" << "お気に入りの文字を登録と削除";
    QTest::newRow("number label") << "lblBangou" << "登録番号：";
    QTest::newRow("previous") << "cmdDown" << "<";
    QTest::newRow("next") << "cmdUp" << ">";
    QTest::newRow("count label") << "lblGenzai" << "現在の登録数：";
    QTest::newRow("text label") << "lblMoji" << "登録する文字（複数文字可）：";
    QTest::newRow("apply") << "cmdTekiyou" << "適用(&A)";
    QTest::newRow("delete") << "cmdDel" << "登録削除(&D)";
    QTest::newRow("close") << "cmdCancel" << "閉じる(&C)";
}

void FrmFavaTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Favourites list;
    frmFava window(list);
    QVERIFY(window.isModal());
    QWidget* w = name == window.objectName() ? &window : window.findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w == &window ? window.windowTitle() : w->property("text").toString(), caption);
}

void FrmFavaTest::clicksAndEdits_data()
{
    // script: "<", ">", "A" (Apply), "D" (Delete), anything else is typed into the field,
    // replacing it. state: slot/count/field and the enabled buttons as "<>AD" or "-".
    QTest::addColumn<int>("favourites");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("state");
    // The rules are tested in full without a window; these rows show the window follows them.
    QTest::newRow("none: only the field is usable") << 0 << QStringList() << "1/0/ ----";
    QTest::newRow("none: Apply registers") << 0 << QStringList{"x", "A"} << "1/1/x ->-D";
    QTest::newRow("five: delete slot 3 shows the old slot 4")
        << 5 << QStringList{">", ">", "D"} << "3/4/f4 <>--";
    QTest::newRow("ten: > stops at slot 10, Apply overwrites it")
        << 10 << QStringList{">", ">", ">", ">", ">", ">", ">", ">", ">", ">", "z", "A"}
        << "10/10/z <--D";
}

void FrmFavaTest::clicksAndEdits()
{
    QFETCH(int, favourites);
    QFETCH(QStringList, script);
    QFETCH(QString, state);
    Favourites list;
    for (int n = 1; n <= favourites; ++n) {
        QVERIFY(list.store(n, u"f" + QString::number(n).toStdU16String()));
    }
    frmFava w(list);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    for (const QString& step : script) {
        QPushButton* b = step == "<"   ? w.cmdDown()
                         : step == ">" ? w.cmdUp()
                         : step == "A" ? w.cmdTekiyou()
                         : step == "D" ? w.cmdDel()
                                       : nullptr;
        if (b) {
            QTest::mouseClick(b, Qt::LeftButton);
        } else {
            w.txtFava()->selectAll();
            QInputMethodEvent commit;
            commit.setCommitString(step);
            QCoreApplication::sendEvent(w.txtFava(), &commit);
        }
    }
    const auto on = [](QPushButton* b, char c) { return b->isEnabled() ? QChar(c) : QChar('-'); };
    const QString shown = QStringLiteral("%1/%2/%3 %4%5%6%7")
                              .arg(w.lblBT()->text(), w.lblTouroku()->text(), w.txtFava()->text())
                              .arg(on(w.cmdDown(), '<'))
                              .arg(on(w.cmdUp(), '>'))
                              .arg(on(w.cmdTekiyou(), 'A'))
                              .arg(on(w.cmdDel(), 'D'));
    QCOMPARE(shown, state);
    // What the window shows is the list itself.
    QCOMPARE(w.lblTouroku()->text().toInt(), list.FavCount());
    if (script.endsWith(QStringLiteral("A"))) {
        QCOMPARE(QString::fromStdU16String(list.text(w.lblBT()->text().toInt())),
                 w.txtFava()->text());
    }
}

void FrmFavaTest::pastedLineBreaksAreDropped()
{
    Favourites list;
    frmFava w(list);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\nc\r"));
    w.txtFava()->paste();
    QCOMPARE(w.txtFava()->text(), QStringLiteral("abc"));
    QCOMPARE(w.txtFava()->cursorPosition(), 3);
    QTest::mouseClick(w.cmdTekiyou(), Qt::LeftButton);
    QCOMPARE(list.text(1), u"abc");
    QTest::mouseClick(w.cmdCancel(), Qt::LeftButton);
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(FrmFavaTest)
#include "test_frmfava.moc"
