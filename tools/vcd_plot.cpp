#include "tools/vcd_plot.h"

#include <QPainter>
#include <algorithm>

#include "panel/state_names.h"
#include "trace/time_ladder.h"

namespace {

constexpr int TOP = 30;
constexpr int AXIS = 30;

// Maps virtual ms to the x of the plot area.
struct CTimeScale {
    int left;
    int right;
    uint64_t endMs;
    int X(uint64_t ms) const
    {
        return left + static_cast<int>(static_cast<double>(ms) * (right - left) / static_cast<double>(endMs));
    }
};

QColor row_colour(const CVcdReader::CVariable& var)
{
    if (var.scope.ends_with("firmware"))
        return QColor(0, 90, 170);
    if (var.scope.ends_with("panel"))
        return QColor(160, 60, 0);
    return QColor(0, 120, 40);
}

void draw_bits(QPainter& p, const CVcdReader::CVariable& var, const CTimeScale& t, int top, int height)
{
    const int high = top + 4;
    const int low = top + height - 4;
    p.setPen(QPen(row_colour(var), 1));
    uint64_t value = 0;
    int x = t.left;
    for (const auto& [time, next] : var.changes) {
        const int nx = t.X(time);
        p.drawLine(x, value ? high : low, nx, value ? high : low);
        if (next != value)
            p.drawLine(nx, high, nx, low);
        x = nx;
        value = next;
    }
    p.drawLine(x, value ? high : low, t.right, value ? high : low);
    // A bit that is high fills lightly, so short pulses stay visible.
    QColor fill = row_colour(var);
    fill.setAlpha(50);
    value = 0;
    x = t.left;
    for (const auto& [time, next] : var.changes) {
        const int nx = t.X(time);
        if (value)
            p.fillRect(QRect(x, high, std::max(1, nx - x), low - high), fill);
        x = nx;
        value = next;
    }
    if (value)
        p.fillRect(QRect(x, high, std::max(1, t.right - x), low - high), fill);
}

// Segments between changes, each labelled with its state's number and name where it fits.
void draw_states(QPainter& p, const CVcdReader::CVariable& var, const CTimeScale& t, int top, int height)
{
    const int y0 = top + 3;
    const int y1 = top + height - 3;
    for (size_t i = 0; i < var.changes.size(); ++i) {
        const int x0 = t.X(var.changes[i].first);
        const int x1 = i + 1 < var.changes.size() ? t.X(var.changes[i + 1].first) : t.right;
        const int32_t number = static_cast<int32_t>(var.changes[i].second);
        const QRect box(x0, y0, std::max(1, x1 - x0), y1 - y0);
        p.fillRect(box, QColor::fromHsv((number * 37) % 360, 50, 250));
        p.setPen(QColor(0, 60, 130));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const QString label = QString::number(number) + " " + QString::fromUtf8(state_name(number));
        if (p.fontMetrics().horizontalAdvance(label) + 4 < box.width())
            p.drawText(box, Qt::AlignCenter, label);
        else if (p.fontMetrics().horizontalAdvance(QString::number(number)) + 2 < box.width())
            p.drawText(box, Qt::AlignCenter, QString::number(number));
    }
}

void draw_number(QPainter& p, const CVcdReader::CVariable& var, const CTimeScale& t, int top, int height)
{
    // Drawn from 0 up: a real below 0 (held as its two's complement) stays on the base line.
    auto shown = [&](uint64_t v) { return var.real && static_cast<int64_t>(v) < 0 ? 0 : v; };
    uint64_t peak = 1;
    for (const auto& change : var.changes)
        peak = std::max(peak, shown(change.second));
    const int base = top + height - 4;
    const int span = height - 14;
    auto y_of = [&](uint64_t v) {
        return base - static_cast<int>(static_cast<double>(shown(v)) * span / static_cast<double>(peak));
    };
    p.setPen(QColor(200, 200, 200));
    p.drawLine(t.left, base, t.right, base);
    p.setPen(QPen(row_colour(var), 1));
    uint64_t value = var.changes.empty() ? 0 : var.changes.front().second;
    int x = t.left;
    for (const auto& [time, next] : var.changes) {
        const int nx = t.X(time);
        p.drawLine(x, y_of(value), nx, y_of(value));
        p.drawLine(nx, y_of(value), nx, y_of(next));
        x = nx;
        value = next;
    }
    p.drawLine(x, y_of(value), t.right, y_of(value));
    p.setPen(Qt::gray);
    p.drawText(QRect(t.left - 40, top, 36, 12), Qt::AlignRight, QString::number(peak));
}

// The units of the axis labels, largest first.
struct CTimeUnit {
    uint64_t ms;
    const char* name;
};
constexpr CTimeUnit UNITS[] = {{3600000, "h"}, {60000, "min"}, {1000, "s"}, {1, "ms"}};

}  // namespace

// At most one tick per MIN_TICK_PIXELS: a step with endMs / step <= ticks.
uint64_t CVcdPlot::TickStep(uint64_t endMs, int pixels)
{
    const uint64_t ticks = static_cast<uint64_t>(std::max(1, pixels / MIN_TICK_PIXELS));
    return time_ladder_step(static_cast<double>(endMs / (ticks + 1) + 1));
}

std::string CVcdPlot::TickLabel(uint64_t ms, uint64_t stepMs)
{
    for (const CTimeUnit& unit : UNITS)
        if (stepMs % unit.ms == 0)
            return std::to_string(ms / unit.ms) + " " + unit.name;
    return std::to_string(ms) + " ms";
}

int CVcdPlot::RowHeight(const CVcdReader::CVariable& var)
{
    if (var.width == 1)
        return BIT_ROW;
    return var.name == "state_number" ? BUS_ROW : NUMBER_ROW;
}

std::vector<const CVcdReader::CVariable*> CVcdPlot::Rows(const std::vector<std::string>& names) const
{
    std::vector<const CVcdReader::CVariable*> rows;
    if (!names.empty()) {
        for (const std::string& name : names)
            if (const CVcdReader::CVariable* var = m_dump.Find(name))
                rows.push_back(var);
        return rows;
    }
    if (const CVcdReader::CVariable* state = m_dump.Find("state_number"))
        rows.push_back(state);
    for (const CVcdReader::CVariable& var : m_dump.Variables())
        if (var.changes.size() > 1 && var.name != "state_number")
            rows.push_back(&var);
    return rows;
}

QImage CVcdPlot::Render(const std::vector<std::string>& names, int width, const std::string& title) const
{
    const std::vector<const CVcdReader::CVariable*> rows = Rows(names);
    int height = TOP + AXIS;
    for (const CVcdReader::CVariable* var : rows)
        height += RowHeight(*var);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(11);
    p.setFont(font);

    const CTimeScale t{LABEL_WIDTH, width - 12, std::max<uint64_t>(1, m_dump.EndTime())};
    p.setPen(Qt::black);
    p.drawText(QRect(8, 4, width - 16, 20), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(title));

    // Grid and axis: a line at every round step that leaves room for its label.
    const int bottom = height - AXIS;
    const uint64_t step = TickStep(t.endMs, t.right - t.left);
    for (uint64_t ms = 0; ms <= t.endMs; ms += step) {
        const int x = t.X(ms);
        p.setPen(QColor(230, 230, 230));
        p.drawLine(x, TOP, x, bottom);
        p.setPen(Qt::black);
        p.drawLine(x, bottom, x, bottom + 4);
        p.drawText(QRect(x - MIN_TICK_PIXELS / 2, bottom + 5, MIN_TICK_PIXELS, 14), Qt::AlignHCenter,
                   QString::fromStdString(TickLabel(ms, step)));
    }
    p.drawLine(t.left, bottom, t.right, bottom);

    int top = TOP;
    for (const CVcdReader::CVariable* var : rows) {
        const int h = RowHeight(*var);
        p.setPen(Qt::black);
        p.drawText(QRect(6, top, LABEL_WIDTH - 10, h), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(var->name));
        if (var->width == 1)
            draw_bits(p, *var, t, top, h);
        else if (var->name == "state_number")
            draw_states(p, *var, t, top, h);
        else
            draw_number(p, *var, t, top, h);
        top += h;
    }
    return image;
}
