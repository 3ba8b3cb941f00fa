// SPDX-License-Identifier: GPL-3.0-or-later
#include "advanced/AdvancedModeDlg.h"

#include "model/AOColors.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace
{

// What a row needs of its colour, made once per distinct colour of a rebuild: the
// table easily repeats a handful of colours over thousands of names.
struct ColorRoles {
    QVariant text;
    QVariant icon;
};

class ColorRoleCache
{
public:
    const ColorRoles& rolesFor(const QColor& color)
    {
        auto found = roles.find(color.rgba());
        if (found == roles.end()) {
            QPixmap swatch(15, 15);
            swatch.fill(color);
            found = roles.insert(color.rgba(), {QBrush(color), QIcon(swatch)});
        }
        return *found;
    }

private:
    QHash<QRgb, ColorRoles> roles;
};

} // namespace

AdvancedModeDlg::AdvancedModeDlg(QWidget* parent) : QWidget(parent)
{
    layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(5, 5, 5, 5);

    tree = new QTreeWidget(this);
    tree->setRootIsDecorated(false);
    tree->setSortingEnabled(false);
    tree->setHeaderLabels({QStringLiteral("Color group"), QStringLiteral("Color")});
    tree->header()->resizeSection(0, 200);
    tree->header()->resizeSection(1, 100);
    connect(tree, &QTreeWidget::itemDoubleClicked, this,
            qOverload<QTreeWidgetItem*, int>(&AdvancedModeDlg::pickColor));
    layout->addWidget(tree);

    button = new QPushButton(QStringLiteral("Change s&elected color"), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, qOverload<>(&AdvancedModeDlg::pickColor));
    layout->addWidget(button);

    label = new QLabel(this);
    label->setText(QStringLiteral(
        "<b><u>Color groups explained:</u></b><br />* The top 15 or so groups are just "
        "definitions for standard colors.<br />\tIt's best to just leave these alone...<br />* "
        "The groups starting with <font color=red>ct_</font> are internal colors. Do as "
        "above.<br />* Groups starting with <font color=red>CC</font> are used in various "
        "dialogs and<br /> other parts of the GUI\t(i.e. <font "
        "color=red>CCNPCChatColorEmote</font>)<br />* Groups starting with <font "
        "color=red>ctch_</font> are the various chat groups.<br />\t(i.e. <font "
        "color=red>ctch_clan</font> is your guild channel etc.)"));
    // Its lines are wider than the fixed window with any common font; wrapped, the
    // whole text stays readable and the list above gives up the height.
    label->setWordWrap(true);
    layout->addWidget(label);
}

void AdvancedModeDlg::setBackgroundColor(AOColor color)
{
    backgroundColor = color;
    updateColors();
}

void AdvancedModeDlg::updateColors()
{
    // Painting between clearing and refilling would draw every intermediate state of
    // a large table; the rows go in as one insertion instead of one per entry.
    tree->setUpdatesEnabled(false);
    tree->clear();
    tree->addTopLevelItems(buildRows());
    tree->setUpdatesEnabled(true);
}

QList<QTreeWidgetItem*> AdvancedModeDlg::buildRows() const
{
    const QVariant font = QFont(QStringLiteral("Helvetica"), 9, QFont::Black);
    const QVariant background = QBrush(backgroundColor.toQColor());
    ColorRoleCache cache;

    QList<QTreeWidgetItem*> rows;
    rows.reserve(aoColors.size());
    for (const AOColor& entry : qAsConst(aoColors)) {
        auto* row = new QTreeWidgetItem();
        for (int column = 0; column < 2; ++column) {
            row->setData(column, Qt::BackgroundRole, background);
            row->setData(column, Qt::FontRole, font);
        }
        row->setData(0, Qt::DisplayRole, entry.name);
        row->setData(1, Qt::DisplayRole, entry.value);

        const QColor color = entry.toQColor();
        if (color.isValid()) {
            const ColorRoles& roles = cache.rolesFor(color);
            row->setData(0, Qt::ForegroundRole, roles.text);
            row->setData(1, Qt::ForegroundRole, roles.text);
            row->setData(1, Qt::DecorationRole, roles.icon);
        }
        rows.append(row);
    }
    return rows;
}

void AdvancedModeDlg::pickColor(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column)
    if (!item)
        return;
    // The receiver refreshes the pages, which deletes this item: take the name first.
    const QString name = item->text(0);
    emit pickColor(name);
}

void AdvancedModeDlg::pickColor()
{
    if (QTreeWidgetItem* item = tree->currentItem())
        pickColor(item, 0);
}
