#include "runswindow/variancechart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>

namespace {

// One of the two colours of bars; an item's bar is in one and stands at 0 in the other.
QBarSet* barSet(const QString& name, const QColor& colour) {
    auto* set = new QBarSet(name);
    set->setColor(colour);
    set->setBorderColor(colour);
    return set;
}

}  // namespace

QChart* makeVarianceChart(const QList<VarianceBar>& bars) {
    QBarSet* below = barSet(QStringLiteral("Below zero"), QColor(Qt::red));
    QBarSet* above = barSet(QStringLiteral("Above zero"), QColor(Qt::darkGreen));
    QStringList labels;
    // A horizontal chart draws its first category at the bottom.
    for (auto bar = bars.crbegin(); bar != bars.crend(); ++bar) {
        labels << bar->label;
        below->append(qMin(bar->value, 0.0));
        above->append(qMax(bar->value, 0.0));
    }
    auto* series = new QHorizontalStackedBarSeries;
    series->append(below);
    series->append(above);

    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("The %1 largest differences by value").arg(bars.size()));
    chart->addSeries(series);
    auto* items = new QBarCategoryAxis;
    items->append(labels);
    items->setTitleText(QStringLiteral("stock id"));
    chart->addAxis(items, Qt::AlignLeft);
    series->attachAxis(items);
    auto* values = new QValueAxis;
    values->setTitleText(QStringLiteral("value"));
    values->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);
    values->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}
