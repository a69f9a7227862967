#pragma once

#include <QDialog>

class IncidentStore;
class QDateTimeEdit;
class QLabel;

/// Exports a time range of the station's own history from the window, as the
/// command line's --csv-out, --pdf-out and --scenario-out do: the operator
/// picks the range (the last hour to start with) and a file; the file's type
/// (.csv, .pdf, .json) decides the format. The outcome shows in the dialog.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    ExportDialog(IncidentStore& store, QWidget* parent = nullptr);

    /// Writes the range chosen to \a path in the format of its suffix; false
    /// with \a error set when the suffix is not one of them or the file cannot be written.
    bool exportTo(const QString& path, QString* error) const;
    /// Sets the range to \a from .. \a to (ms since the epoch).
    void setRange(qint64 from, qint64 to);

private:
    void chooseFile();

    IncidentStore& store_;
    QDateTimeEdit* from_;
    QDateTimeEdit* to_;
    QLabel* outcome_;
};
