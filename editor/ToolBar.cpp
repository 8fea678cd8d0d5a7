#include "ToolBar.h"

#include <QAction>
#include <QHelpEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTextDocument>
#include <QToolTip>

namespace masumemo::editor {
namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

/// One toolbar entry; an empty key is a separator.
struct ToolEntry
{
    const char* key;
    const char* toolTip;  ///< nullptr: the key is the tooltip
    const char* icon;
};

// Icon numbers of the image list: 1 new ... 8 redo, 9 standard view, 10 maximise, 11 click
// input, 12 BR get, 13-22 favourites.
constexpr ToolEntry kToolEntries[kToolButtonCount] = {
    {"新規作成", nullptr, "new"},
    {"開く", nullptr, "open"},
    {"上書き保存", nullptr, "save"},
    {"", nullptr, nullptr},
    {"切り取り", nullptr, "cut"},
    {"ｺﾋﾟｰ", nullptr, "copy"},
    {"貼り付け", nullptr, "paste"},
    {"", nullptr, nullptr},
    {"元に戻す", nullptr, "undo"},
    {"やり直し", nullptr, "redo"},
    {"", nullptr, nullptr},
    {"拡大縮小", "編集部分の最大化", "view-maximise"},
    {"クリック入力", nullptr, "click-input"},
    {"ＢＲゲット", "改行を<br>でコピー", "br-get"},
    {"", nullptr, nullptr},
    {"お気に１", "", "favourite-1"},
    {"お気に２", "", "favourite-2"},
    {"お気に３", "", "favourite-3"},
    {"お気に４", "", "favourite-4"},
    {"お気に５", "", "favourite-5"},
    {"お気に６", "", "favourite-6"},
    {"お気に７", "", "favourite-7"},
    {"お気に８", "", "favourite-8"},
    {"お気に９", "", "favourite-9"},
    {"お気に１０", "", "favourite-10"},
};

const char* const kMaximiseTip = "編集部分の最大化";
const char* const kStandardTip = "編集部分の標準化";

/// Tooltips are plain text: "改行を<br>でコピー" must show its "<br>", not break the line.
class PlainToolTips : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) {
            return false;
        }
        auto* button = qobject_cast<QToolButton*>(watched);
        if (!button || !button->defaultAction()) {
            return false;
        }
        const QString tip = button->defaultAction()->toolTip();
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                               Qt::convertFromPlainText(tip, Qt::WhiteSpaceNormal), button);
        }
        return true;
    }
};

}  // namespace

std::array<QAction*, kToolButtonCount> fillToolBar(QToolBar& bar)
{
    bar.setObjectName(QStringLiteral("tbToolBar"));
    bar.setMovable(false);
    bar.setFloatable(false);
    // 20 px is the largest size at which all 21 buttons and 4 separators fit the designed width
    // of 10500 twips; at 24 the last favourites went behind the overflow button.
    bar.setIconSize(QSize(20, 20));
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar.toggleViewAction()->setVisible(false);

    std::array<QAction*, kToolButtonCount> buttons{};
    auto* tips = new PlainToolTips(&bar);
    for (int i = 0; i < kToolButtonCount; ++i) {
        const ToolEntry& entry = kToolEntries[i];
        const QString key = text(entry.key);
        QAction* a = nullptr;
        if (key.isEmpty()) {
            a = bar.addSeparator();
        } else {
            // The favourite buttons have no caption or tooltip until a favourite fills them.
            const bool favourite = i + 1 >= kFirstFavouriteButton;
            a = bar.addAction(toolIcon(entry.icon), favourite ? QString() : key);
            a->setData(key);
            // Click input is a mode: its button stays pressed while the mode is on.
            a->setCheckable(key == text("クリック入力"));
            a->setToolTip(entry.toolTip ? text(entry.toolTip) : key);
            bar.widgetForAction(a)->installEventFilter(tips);
        }
        a->setObjectName(QStringLiteral("tbToolBar_%1").arg(i + 1));
        buttons[static_cast<size_t>(i)] = a;
    }
    return buttons;
}

QString toolKey(int number)
{
    return text(kToolEntries[number - 1].key);
}

QIcon toolIcon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QString viewButtonTip(bool toStandard)
{
    return text(toStandard ? kStandardTip : kMaximiseTip);
}

}  // namespace masumemo::editor
