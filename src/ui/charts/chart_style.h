#pragma once

#include <QFont>
#include <QString>
#include <Qt>

class QChart;
class QValueAxis;

namespace pellmar {

// The text of the charts on screen: Arial at 8 pt (the export sets its own size).
QFont chartFont();

// A value axis of `chart` titled `title`, in the charts' font, its labels never cut to "...".
QValueAxis* addValueAxis(QChart& chart, const QString& title, Qt::Alignment alignment);

}  // namespace pellmar
