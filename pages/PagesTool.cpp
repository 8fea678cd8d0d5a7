#include "PagesTool.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

#include "check/BoardSetting.h"
#include "check/DotFix.h"
#include "document/Document.h"
#include "host/ToolHost.h"
#include "pages/PageListModel.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"

namespace masumemo::pages {
namespace {

using platform::Dialogs;

const QString kPageMenu = QStringLiteral("mnuPage");

}  // namespace

PagesTool::PagesTool(host::ToolHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    document::Document& document = host.document();
    m_model = new PageListModel(document, this);
    m_model->setLimits(check::savedLimits());
    connect(&check::BoardSetting::instance(), &check::BoardSetting::limitsChanged, this,
            [this] { m_model->setLimits(check::savedLimits()); });

    m_list = new QTreeView;
    m_list->setObjectName(QStringLiteral("lvwPages"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Fixed widths: sizing to contents would read every page of a long file.
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->header()->setStretchLastSection(false);
    const int digit = m_list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_list->setColumnWidth(PageListModel::NumberColumn, digit * 7);
    m_list->setColumnWidth(PageListModel::NameColumn, digit * 10);
    m_list->setColumnWidth(PageListModel::BytesColumn, digit * 7);
    m_list->setColumnWidth(PageListModel::LinesColumn, digit * 5);
    m_panel = host.addPanel(m_list, QStringLiteral("ﾍﾟｰｼﾞ"));
    if (m_panel == nullptr) {
        m_list->setParent(host.window());
        m_list->hide();
        m_panel = m_list;
    }
    // However the list comes and goes (the View menu, a file of pages, the panel's own close
    // button, the window), the figures follow typing only while it is on screen.
    m_model->setShown(m_list->isVisible());
    m_list->installEventFilter(this);

    createActions();
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_following && current.isValid()) {
                    m_host.document().setCurrentIndex(current.row());
                }
            });
    connect(&document, &document::Document::currentChanged, this, &PagesTool::followDocument);
    connect(&document, &document::Document::pagesChanged, this, &PagesTool::followDocument);
    followDocument();
}

void PagesTool::createActions()
{
    document::Document& document = m_host.document();
    m_host.addMenu(kPageMenu, QStringLiteral("ﾍﾟｰｼﾞ(&G)"), QStringLiteral("mnuTool"));
    const auto add = [this](const char* name, const QString& caption, auto handler,
                            const QKeySequence& keys = {}) {
        QAction* a = m_host.addAction({kPageMenu}, QLatin1String(name), caption, keys);
        connect(a, &QAction::triggered, this, handler);
        m_list->addAction(a);
        return a;
    };
    const auto separator = [this](const char* name) {
        m_list->addAction(m_host.addAction({kPageMenu}, QLatin1String(name), QString()));
    };
    add("mnuPagePrevious", QStringLiteral("前のﾍﾟｰｼﾞ(&B)"), &PagesTool::previousPage,
        QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    add("mnuPageNext", QStringLiteral("次のﾍﾟｰｼﾞ(&F)"), &PagesTool::nextPage,
        QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    separator("mnuPageBar0");
    add("mnuPageAdd", QStringLiteral("末尾にﾍﾟｰｼﾞを追加(&A)"), [&document] { document.addPage(); });
    add("mnuPageInsert", QStringLiteral("ﾍﾟｰｼﾞを挿入(&I)"), [&document] { document.insertPage(); });
    add("mnuPageDuplicate", QStringLiteral("ﾍﾟｰｼﾞを複製(&C)"),
        [&document] { document.duplicatePage(); });
    add("mnuPageDelete", QStringLiteral("ﾍﾟｰｼﾞを削除(&D)"), &PagesTool::deletePage);
    separator("mnuPageBar1");
    add("mnuPageUp", QStringLiteral("上へ移動(&U)"), [&document] { document.movePage(true); });
    add("mnuPageDown", QStringLiteral("下へ移動(&W)"), [&document] { document.movePage(false); });
    add("mnuPageMerge", QStringLiteral("次のﾍﾟｰｼﾞと結合(&M)"), &PagesTool::mergeWithNext);
    add("mnuPageSplit", QStringLiteral("ｶｰｿﾙ行で分割(&S)"), &PagesTool::splitAtCaret);
    add("mnuPageRename", QStringLiteral("名前の変更(&R)..."), &PagesTool::renamePage);
    separator("mnuPageBar2");
    add("mnuPageUndo", QStringLiteral("元に戻す"), [&document] { document.undoPageCommand(); });
    separator("mnuPageBar3");
    add("mnuPagePost", QStringLiteral("このﾍﾟｰｼﾞを投稿用にｺﾋﾟｰして次へ(&N)"),
        &PagesTool::copyForPostingAndNext, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));

    m_viewAction = m_host.addAction({QStringLiteral("mnuView")}, QStringLiteral("mnuViewPages"),
                                    QStringLiteral("ﾍﾟｰｼﾞ一覧(&P)"));
    m_viewAction->setCheckable(true);
    connect(m_viewAction, &QAction::triggered, this, [this](bool on) {
        m_pinned = on;
        showPanel(on);
    });
}

QAction* PagesTool::action(const char* name) const
{
    const auto actions = m_list->actions();
    const auto it = std::find_if(actions.begin(), actions.end(), [name](const QAction* a) {
        return a->objectName() == QLatin1String(name);
    });
    return it == actions.end() ? (QLatin1String(name) == QLatin1String("mnuViewPages")
                                      ? m_viewAction
                                      : nullptr)
                               : *it;
}

bool PagesTool::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        m_model->setShown(event->type() == QEvent::Show);
        // The panel's own close button hides it without the menu: the menu follows, so its next
        // click shows the list again instead of doing nothing.
        if (event->type() == QEvent::Hide && m_panel->isHidden()) {
            m_pinned = false;
            m_viewAction->setChecked(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool PagesTool::panelShown() const
{
    return !m_panel->isHidden();
}

void PagesTool::showPanel(bool shown)
{
    m_panel->setVisible(shown);
    m_viewAction->setChecked(shown);
}

void PagesTool::followDocument()
{
    const document::Document& document = m_host.document();
    // The list appears when a document of several pages arrives and goes with it.
    const bool many = document.pageCount() > 1;
    if (many != m_many) {
        m_many = many;
        showPanel(many || m_pinned);
    }
    m_following = true;
    const QModelIndex row = m_model->index(document.currentIndex(), 0);
    m_list->selectionModel()->setCurrentIndex(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(row);
    m_following = false;
    updateActions();
}

void PagesTool::updateActions()
{
    const document::Document& document = m_host.document();
    const int at = document.currentIndex();
    const int count = document.pageCount();
    action("mnuPagePrevious")->setEnabled(at > 0);
    action("mnuPageNext")->setEnabled(at + 1 < count);
    action("mnuPageUp")->setEnabled(at > 0);
    action("mnuPageDown")->setEnabled(at + 1 < count);
    action("mnuPageMerge")->setEnabled(at + 1 < count);
    action("mnuPageUndo")->setEnabled(document.canUndoPageCommand());
}

void PagesTool::previousPage()
{
    document::Document& document = m_host.document();
    document.setCurrentIndex(document.currentIndex() - 1);
}

void PagesTool::nextPage()
{
    document::Document& document = m_host.document();
    document.setCurrentIndex(document.currentIndex() + 1);
}

void PagesTool::deletePage()
{
    document::Document& document = m_host.document();
    if (!document.pageIsBlank(document.currentIndex()) &&
        Dialogs::instance().message(m_host.window(),
                                    QStringLiteral("このﾍﾟｰｼﾞを削除しますか？"),
                                    Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return;
    }
    document.deletePage();
}

void PagesTool::renamePage()
{
    document::Document& document = m_host.document();
    const std::optional<QString> name = Dialogs::instance().askText(
        m_host.window(), QStringLiteral("ﾍﾟｰｼﾞの名前:"),
        QString::fromStdU16String(document.page().name));
    if (name) {
        document.renamePage(*name);
    }
}

void PagesTool::splitAtCaret()
{
    document::Document& document = m_host.document();
    const std::u16string& text = document.page().text;
    const int caret = std::clamp(m_host.canvas().selection().start, 0,
                                 static_cast<int>(text.size()));
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + caret, u'\r'));
    if (!document.splitPage(line)) {
        m_host.canvas().notice(QStringLiteral("最初の行では分割できません"));
    }
}

void PagesTool::mergeWithNext()
{
    if (!m_host.document().mergeWithNext()) {
        m_host.canvas().notice(QStringLiteral("結合すると大きすぎます"));
    }
}

void PagesTool::copyForPostingAndNext()
{
    document::Document& document = m_host.document();
    const bool proportional = m_host.canvas().font().family() == platform::kPGothic;
    QGuiApplication::clipboard()->setText(QString::fromStdU16String(
        check::postingCopy(document.page().text, proportional, check::passesUnicode())));
    if (document.currentIndex() + 1 < document.pageCount()) {
        nextPage();
    } else {
        m_host.canvas().notice(QStringLiteral("最後のﾍﾟｰｼﾞをｺﾋﾟｰしました"));
    }
}

}  // namespace masumemo::pages
