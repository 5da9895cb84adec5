#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include "app/MonitorPage.h"
#include "store/Decimal.h"

namespace korvel {
namespace {

std::optional<double> Number(const std::string& text)
{
    const auto value = ReadDecimal(text);
    if (!value)
        return std::nullopt;
    double scaled = double(value->units);
    for (int i = 0; i < value->scale; ++i)
        scaled /= 10;
    return scaled;
}

QValueAxis* Axis(QChart* chart, const QString& title, Qt::Alignment side)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(axis, side);
    return axis;
}

void Attach(QChart* chart, QAbstractSeries* series, QValueAxis* x, QValueAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

QChart* SeriesChart(const QString& title, const std::vector<SeriesPoint>& series)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    auto* price = new QLineSeries;
    price->setName(QStringLiteral("销售价"));
    auto* sold = new QLineSeries;
    sold->setName(QStringLiteral("已售"));
    auto* lowest = new QScatterSeries;
    lowest->setName(QStringLiteral("历史最低"));
    std::optional<QPointF> lowestPoint;
    for (const SeriesPoint& point : series) {
        const double run = double(point.run);
        if (const auto value = Number(point.salePrice)) {
            price->append(run, *value);
            if (!lowestPoint || *value < lowestPoint->y())
                lowestPoint = QPointF(run, *value);
        }
        if (const auto value = Number(point.sold))
            sold->append(run, *value);
    }
    if (lowestPoint)
        lowest->append(*lowestPoint);
    QValueAxis* x = Axis(chart, QStringLiteral("采集次数"), Qt::AlignBottom);
    x->setLabelFormat(QStringLiteral("%d"));
    QValueAxis* priceAxis = Axis(chart, QStringLiteral("销售价"), Qt::AlignLeft);
    QValueAxis* soldAxis = Axis(chart, QStringLiteral("已售"), Qt::AlignRight);
    Attach(chart, price, x, priceAxis);
    Attach(chart, lowest, x, priceAxis);
    Attach(chart, sold, x, soldAxis);
    return chart;
}

}  // namespace korvel
