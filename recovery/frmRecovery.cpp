#include "frmRecovery.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace masumemo::recovery {
namespace {

constexpr int kInstanceRole = Qt::UserRole;
constexpr int kRestorableRole = Qt::UserRole + 1;

}  // namespace

frmRecovery::frmRecovery(QWidget* parent, const std::vector<Row>& rows, Act restore, Act discard)
    : QDialog(parent), m_restoreAct(std::move(restore)), m_discardAct(std::move(discard))
{
    setObjectName(QStringLiteral("frmRecovery"));
    setWindowTitle(QStringLiteral("復元"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("保存されないまま終わった絵があります。復元する絵を選んでください。"), this));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstSnapshots"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("ファイル"), QStringLiteral("時刻"),
                             QStringLiteral("内容")});
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(m_list, {row.name, row.time, row.preview});
        item->setData(0, kInstanceRole, row.instance);
        item->setData(0, kRestorableRole, row.restorable);
        item->setToolTip(0, row.path);
        item->setToolTip(2, row.preview);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QStringLiteral("復元する(&R)"), QDialogButtonBox::AcceptRole);
    m_restore->setObjectName(QStringLiteral("cmdRestore"));
    m_discard = buttons->addButton(QStringLiteral("破棄する(&D)"), QDialogButtonBox::DestructiveRole);
    m_discard->setObjectName(QStringLiteral("cmdDiscard"));
    QPushButton* later = buttons->addButton(QStringLiteral("後で(&L)"), QDialogButtonBox::RejectRole);
    later->setObjectName(QStringLiteral("cmdLater"));
    layout->addWidget(buttons);
    // The buttons act on the chosen row; only "後で" closes the window.
    connect(m_restore, &QPushButton::clicked, this, &frmRecovery::cmdRestore_Click);
    connect(m_discard, &QPushButton::clicked, this, &frmRecovery::cmdDiscard_Click);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &frmRecovery::selectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &frmRecovery::cmdRestore_Click);

    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    selectionChanged();
    resize(640, 320);
}

int frmRecovery::rowCount() const
{
    return m_list->topLevelItemCount();
}

QString frmRecovery::chosen() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, kInstanceRole).toString() : QString();
}

void frmRecovery::selectionChanged()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    m_restore->setEnabled(item && item->data(0, kRestorableRole).toBool());
    m_discard->setEnabled(item != nullptr);
}

void frmRecovery::cmdRestore_Click()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (item && item->data(0, kRestorableRole).toBool() && m_restoreAct(chosen())) {
        dropChosen();
    }
}

void frmRecovery::cmdDiscard_Click()
{
    if (!chosen().isEmpty() && m_discardAct(chosen())) {
        dropChosen();
    }
}

void frmRecovery::dropChosen()
{
    delete m_list->currentItem();
    if (m_list->topLevelItemCount() == 0) {
        accept();
        return;
    }
    selectionChanged();
}

}  // namespace masumemo::recovery
