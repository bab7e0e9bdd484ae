#include "paperpainter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace PaperPainter {

namespace {

// Points. The cell margins are those of the .docx report's table.
constexpr qreal CellPaddingX = 2;
constexpr qreal CellPaddingY = 1.5;
constexpr qreal BorderWidth = 0.5;
constexpr qreal FooterPointSize = 8;
constexpr qreal FooterGap = 6;

const QColor &shade()
{
    static const QColor colour(225, 225, 225);
    return colour;
}

QFont fontOf(const QString &family, qreal pointSize, bool bold)
{
    QFont font;
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // No ligatures: "Tx_Off" must stay six letters for a search in the PDF
    // and for text taken out of it, not "Tx_O" and the "ff" ligature.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// QTextLayout breaks lines at the Unicode line separator only.
QString withLineSeparators(QString text)
{
    text.replace(QStringLiteral("\r\n"), QChar(QChar::LineSeparator));
    text.replace(u'\n', QChar(QChar::LineSeparator));
    text.replace(u'\r', QChar(QChar::LineSeparator));
    return text;
}

// A text laid out in lines of one width, in the device's units.
class TextBox
{
public:
    TextBox(const QString &text, const QFont &font, const QPaintDevice &device, qreal width, Qt::Alignment alignment)
        : m_layout(withLineSeparators(text), font, &device)
    {
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        m_layout.setTextOption(option);
        m_layout.beginLayout();
        for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
            line.setLineWidth(std::max<qreal>(width, 1));
            line.setPosition(QPointF(0, m_height));
            m_height += line.height();
        }
        m_layout.endLayout();
        if (m_height <= 0)
            m_height = QFontMetricsF(font, &device).height();
    }

    qreal height() const { return m_height; }
    void draw(QPainter &painter, const QPointF &at) const { m_layout.draw(&painter, at); }

private:
    QTextLayout m_layout;
    qreal m_height = 0;
};

// One paragraph or one table row on a page, at its height from the top.
struct Placed
{
    const PaperParagraph *paragraph = nullptr;
    const PaperTable *table = nullptr;
    int row = 0;
    qreal y = 0;
    qreal height = 0;
};
using Page = std::vector<Placed>;

class Pages
{
public:
    Pages(const PaperDocument &doc, QPagedPaintDevice &device) : m_doc(doc), m_device(device)
    {
        m_perPoint = device.logicalDpiY() / 72.0;
        const QRect paintRect = device.pageLayout().paintRectPixels(device.logicalDpiX());
        m_width = paintRect.width();
        m_height = paintRect.height();
        m_bodyHeight = m_height;
        if (!doc.footer.isEmpty())
            m_bodyHeight -= footerHeight() + units(FooterGap);
        layOut();
    }

    int count() const { return static_cast<int>(m_pages.size()); }

    void paint(QPainter &painter) const
    {
        for (std::size_t page = 0; page < m_pages.size(); ++page) {
            if (page > 0)
                m_device.newPage();
            for (const Placed &item : m_pages[page]) {
                if (item.paragraph)
                    paragraphBox(*item.paragraph).draw(painter, QPointF(0, item.y));
                else
                    paintRow(painter, *item.table, item.row, item.y, item.height);
            }
            if (!m_doc.footer.isEmpty())
                paintFooter(painter, static_cast<int>(page) + 1);
        }
    }

private:
    qreal units(qreal points) const { return points * m_perPoint; }

    qreal footerHeight() const
    {
        return QFontMetricsF(fontOf(m_doc.fontFamily, FooterPointSize, false), &m_device).height();
    }

    TextBox paragraphBox(const PaperParagraph &p) const
    {
        return TextBox(p.text, fontOf(m_doc.fontFamily, p.pointSize, p.bold), m_device, m_width,
                       p.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    }

    TextBox cellBox(const PaperTable &table, int row, int column) const
    {
        const PaperRow &r = table.rows.at(row);
        const bool bold = r.header || r.marked.contains(column);
        const QFont font = fontOf(m_doc.fontFamily, r.header ? table.headerPointSize : table.pointSize, bold);
        const qreal width = units(table.columnWidths.at(column) - 2 * CellPaddingX);
        return TextBox(r.cells.value(column), font, m_device, width, table.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    }

    int columnCount(const PaperTable &table) const { return static_cast<int>(table.columnWidths.size()); }

    qreal rowHeight(const PaperTable &table, int row) const
    {
        qreal text = 0;
        for (int column = 0; column < columnCount(table); ++column)
            text = std::max(text, cellBox(table, row, column).height());
        return text + units(2 * CellPaddingY);
    }

    // What must stand on the page together with a paragraph kept with the next block.
    qreal firstLineOf(qsizetype block) const
    {
        if (block >= m_doc.blocks.size())
            return 0;
        const PaperBlock &next = m_doc.blocks.at(block);
        if (const auto *p = std::get_if<PaperParagraph>(&next))
            return paragraphBox(*p).height();
        const auto &table = std::get<PaperTable>(next);
        return table.rows.isEmpty() ? 0 : rowHeight(table, 0);
    }

    void newPage()
    {
        m_pages.emplace_back();
        m_y = 0;
    }

    void place(Placed item)
    {
        item.y = m_y;
        m_pages.back().push_back(item);
        m_y += item.height;
    }

    void layOut()
    {
        newPage();
        for (qsizetype block = 0; block < m_doc.blocks.size(); ++block) {
            if (const auto *p = std::get_if<PaperParagraph>(&m_doc.blocks.at(block))) {
                const qreal height = paragraphBox(*p).height();
                const qreal needed = height + (p->keepWithNext ? firstLineOf(block + 1) : 0);
                if (m_y > 0 && m_y + needed > m_bodyHeight)
                    newPage();
                place({p, nullptr, 0, 0, height});
            } else {
                layOutTable(std::get<PaperTable>(m_doc.blocks.at(block)));
            }
        }
    }

    void layOutTable(const PaperTable &table)
    {
        // A row that does not fit a page holding nothing but the repeated
        // rows stands there as it is.
        bool onlyRepeats = false;
        for (int row = 0; row < table.rows.size(); ++row) {
            const qreal height = rowHeight(table, row);
            if (m_y > 0 && !onlyRepeats && m_y + height > m_bodyHeight) {
                newPage();
                if (row >= table.repeatedRows)
                    for (int repeated = 0; repeated < table.repeatedRows; ++repeated)
                        place({nullptr, &table, repeated, 0, rowHeight(table, repeated)});
                onlyRepeats = m_y > 0;
            }
            place({nullptr, &table, row, 0, height});
            onlyRepeats = false;
        }
    }

    void paintRow(QPainter &painter, const PaperTable &table, int row, qreal y, qreal height) const
    {
        const PaperRow &r = table.rows.at(row);
        painter.setPen(QPen(Qt::black, units(BorderWidth)));
        qreal x = 0;
        for (int column = 0; column < columnCount(table); ++column) {
            const QRectF cell(x, y, units(table.columnWidths.at(column)), height);
            if (r.header || r.marked.contains(column))
                painter.fillRect(cell, shade());
            painter.drawRect(cell);
            const TextBox box = cellBox(table, row, column);
            box.draw(painter, QPointF(x + units(CellPaddingX), y + (height - box.height()) / 2));
            x += cell.width();
        }
    }

    void paintFooter(QPainter &painter, int page) const
    {
        const QFont font = fontOf(m_doc.fontFamily, FooterPointSize, false);
        const QPointF at(0, m_height - footerHeight());
        TextBox(m_doc.footer, font, m_device, m_width, Qt::AlignLeft).draw(painter, at);
        TextBox(pageNumber(page, count()), font, m_device, m_width, Qt::AlignRight).draw(painter, at);
    }

    const PaperDocument &m_doc;
    QPagedPaintDevice &m_device;
    qreal m_perPoint = 1;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_bodyHeight = 0;
    std::vector<Page> m_pages;
    qreal m_y = 0;
};

} // namespace

QString pageNumber(int page, int pages)
{
    return QStringLiteral("Страница %1 из %2").arg(page).arg(pages);
}

int paint(const PaperDocument &doc, QPagedPaintDevice &device)
{
    const Pages pages(doc, device);
    QPainter painter(&device);
    pages.paint(painter);
    return pages.count();
}

} // namespace PaperPainter
