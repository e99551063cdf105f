// The chart beside the variance table: the items of the largest differences by value as bars.
#pragma once

#include <QChart>
#include <QList>
#include <QString>

// How many of the report's first items, the largest differences by value, the chart shows.
inline constexpr int kChartedItems = 20;

// An item's bar: its stock id and its value of difference.
struct VarianceBar {
    QString label;
    double value = 0;
};

// A horizontal bar chart of the bars, the first at the top, each labelled by its stock id; a value
// below zero is drawn in red, one above in green.
QChart* makeVarianceChart(const QList<VarianceBar>& bars);
