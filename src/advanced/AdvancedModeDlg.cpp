// SPDX-License-Identifier: GPL-3.0-or-later
#include "advanced/AdvancedModeDlg.h"

#include "dialogs/HelpLabel.h"
#include "model/AOColors.h"

#include <QApplication>
#include <QBrush>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace
{

// A square of one colour, painted when it is drawn. Holding only the colour, it costs
// a few bytes where a pixmap per row would cost a kilobyte: a large file has a
// different colour on nearly every row.
class ColorIconEngine : public QIconEngine
{
public:
    explicit ColorIconEngine(const QColor& color) : color(color) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode == QIcon::Normal || mode == QIcon::Active)
            painter->fillRect(rect, color);
        else
            painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    // Selected and disabled rows get the style's tint, as a pixmap icon would.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        QPixmap square(size);
        square.fill(color);
        if (mode == QIcon::Normal || mode == QIcon::Active)
            return square;
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, square, &option);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return squareSize.boundedTo(size);
    }

    QIconEngine* clone() const override { return new ColorIconEngine(color); }

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {squareSize};
    }
#else
    void virtual_hook(int id, void* data) override
    {
        if (id == QIconEngine::AvailableSizesHook)
            static_cast<AvailableSizesArgument*>(data)->sizes = {squareSize};
        else
            QIconEngine::virtual_hook(id, data);
    }
#endif

private:
    static constexpr QSize squareSize{15, 15};
    QColor color;
};

// One entry of the table as a row of the list. Its roles are answered from the entry's
// texts and colour when the view asks, instead of being stored one value per role:
// 200,000 rows stay small and quick to build.
class ColorRow : public QTreeWidgetItem
{
public:
    ColorRow(const AOColor& entry, const QBrush& background, const QFont& font)
        : name(entry.name), value(entry.value), color(entry.toQColor()), background(background),
          font(font)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (column < 0 || column > 1)
            return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return column == 0 ? name : value;
        case Qt::BackgroundRole:
            return background;
        case Qt::FontRole:
            return font;
        case Qt::ForegroundRole:
            return color.isValid() ? QVariant(QBrush(color)) : QVariant();
        case Qt::DecorationRole:
            return column == 1 && color.isValid() ? QVariant(QIcon(new ColorIconEngine(color)))
                                                  : QVariant();
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    const QString name;
    const QString value;
    const QColor color;
    const QBrush background;
    const QFont font;
};

// Measures every row as high as a row with a colour square. A row whose text is no
// colour has no square and would be lower, and the list measures only its first row
// for all: one row measured instead of each row in view is most of what the list
// costs at start-up.
class EvenRows : public QStyledItemDelegate
{
public:
    explicit EvenRows(QObject* parent) : QStyledItemDelegate(parent) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem squared = option;
        initStyleOption(&squared, index);
        squared.features |= QStyleOptionViewItem::HasDecoration;
        const QStyle* style = squared.widget ? squared.widget->style() : QApplication::style();
        const QSize withSquare =
            style->sizeFromContents(QStyle::CT_ItemViewItem, &squared, QSize(), squared.widget);
        const QSize own = QStyledItemDelegate::sizeHint(option, index);
        return QSize(own.width(), qMax(own.height(), withSquare.height()));
    }
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
    tree->setItemDelegate(new EvenRows(tree));
    tree->setUniformRowHeights(true);
    tree->setHeaderLabels({QStringLiteral("Color group"), QStringLiteral("Color")});
    {
        // A resized column makes the view measure its rows once the event loop runs,
        // which at start-up is after the colours are loaded, even on a hidden page.
        // The list is still empty here and is laid out when it is shown.
        const QSignalBlocker quiet(tree->header());
        tree->header()->resizeSection(0, 200);
        tree->header()->resizeSection(1, 100);
    }
    connect(tree, &QTreeWidget::itemDoubleClicked, this,
            qOverload<QTreeWidgetItem*, int>(&AdvancedModeDlg::pickColor));
    layout->addWidget(tree);

    button = new QPushButton(QStringLiteral("Change s&elected color"), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, qOverload<>(&AdvancedModeDlg::pickColor));
    layout->addWidget(button);

    label = new HelpLabel(this);
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
    showContent(false);
}

// The page's content is shown only while the page is: a hidden widget takes no room in
// a layout, so the window's layout does not measure the list and the wrapped help text
// while the page is not the one in view, as at most starts.
bool AdvancedModeDlg::event(QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        showContent(event->type() == QEvent::ShowToParent);
    return QWidget::event(event);
}

void AdvancedModeDlg::showContent(bool shown)
{
    tree->setVisible(shown);
    button->setVisible(shown);
    label->setVisible(shown);
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
    const QFont font(QStringLiteral("Helvetica"), 9, QFont::Black);
    const QBrush background(backgroundColor.toQColor());
    QList<QTreeWidgetItem*> rows;
    rows.reserve(aoColors.size());
    for (const AOColor& entry : qAsConst(aoColors))
        rows.append(new ColorRow(entry, background, font));
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
