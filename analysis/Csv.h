#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kalmor {

// Tables for spreadsheets: fields separated by ";" (what a Czech
// spreadsheet splits columns at), lines ended by CR LF, UTF-8 after a
// byte-order mark, so that accents read right when the file is opened.
class CsvTable {
public:
    void addRow(const QStringList &fields);
    // The rows with a byte-order mark, for a file.
    QByteArray csv() const;
    // The rows separated by tabs, for a terminal.
    QString text() const;

private:
    QStringList m_csvLines;
    QStringList m_textLines;
};

}  // namespace kalmor
