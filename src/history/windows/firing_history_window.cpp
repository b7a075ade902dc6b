// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/windows/firing_history_window.h"

#include "ui/settings_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "history/firing_chart_painter.h"
#include "language/translate.h"
#include "ui/print_profile.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

QString T(const char* english) {
    return Q(TranslateText(english));
}

// The report goes where the profile printout goes: the printer, or a PDF without one.
std::optional<std::string> Print_Report(const Firing_Chart& chart,
                                        const std::vector<std::string>& lines,
                                        const std::string& pdf_path) {
    std::string written = Print_Chart_Report(
        [&chart](QPainter& painter, const QRect& area) {
            Paint_Firing_Chart(painter, QRectF(area), chart);
        },
        lines, pdf_path);
    if (written.empty() && QPrinterInfo::defaultPrinter().isNull()) return std::nullopt;
    return written;
}

}  // namespace

Firing_Chart_Widget::Firing_Chart_Widget(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setMinimumSize(400, 250);
}

void Firing_Chart_Widget::Show_Chart(const Firing_Chart& chart) {
    Chart_ = chart;
    update();
}

void Firing_Chart_Widget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint_Firing_Chart(painter, QRectF(rect()), Chart_);
}

Firing_History_Window::Firing_History_Window(Program_Paths paths, File_Dialog& export_dialog,
                                             Settings_Store& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), Energy_Form_(settings, Energy_Setting_List()) {
    Model_ = std::make_unique<Firing_History>(paths, settings, export_dialog, Print_Report);
    setObjectName("Firing_History");
    Firings = new QTableWidget(0, static_cast<int>(Firing_List_Titles.size()), this);
    Firings->setObjectName("Firings");
    Firings->setSelectionBehavior(QAbstractItemView::SelectRows);
    Firings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Firings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Firings->verticalHeader()->hide();
    FiringChart = new Firing_Chart_Widget("FiringChart", this);
    Firing_Summary = Message_View(this, "Firing_Summary");
    Firing_Notes = new QPlainTextEdit(this);
    Firing_Notes->setObjectName("Firing_Notes");
    Firing_Notes->setMaximumHeight(90);
    Firing_Search = Text_Box(this, "Firing_Search", nullptr, false);
    Firing_Search->setClearButtonEnabled(true);
    SaveNotes = Button(this, "SaveNotes", "Save Notes");
    Witness_Cones = Text_Box(this, "Witness_Cones", nullptr, false);
    SaveCones = Button(this, "SaveCones", "Save Witness Cones");
    Cone_Offset_Proposal = new QLabel(this);
    Cone_Offset_Proposal->setObjectName("Cone_Offset_Proposal");
    Cone_Offset_Proposal->setWordWrap(true);
    TakeConeOffset = Button(this, "TakeConeOffset", "Take Cone Offset");
    History_Messages = Message_View(this, "History_Messages");
    History_Messages->setMaximumHeight(80);
    ExportCSV = Button(this, "ExportCSV", "Export CSV");
    PrintReport = Button(this, "PrintReport", "Print Report");
    EnergySettings = Button(this, "EnergySettings", "Energy Settings");
    Energy_Window_ =
        new Settings_Dialog(Energy_Form_, "Energy", "Energy Settings", Translate_Phrase, this);
    Energy_Window_->setObjectName("Energy_Settings");

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(FiringChart);
    lower->addWidget(Firing_Summary);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 1);
    auto* table = new QWidget(this);
    auto* table_layout = new QVBoxLayout(table);
    table_layout->setContentsMargins(0, 0, 0, 0);
    table_layout->addWidget(Firing_Search);
    table_layout->addWidget(Firings);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table);
    split->addWidget(lower);
    split->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportCSV);
    buttons->addWidget(PrintReport);
    buttons->addWidget(EnergySettings);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    auto* notes = new QHBoxLayout;
    notes->addWidget(Firing_Notes, 1);
    notes->addWidget(SaveNotes, 0, Qt::AlignTop);
    layout->addLayout(notes);
    auto* cones = new QHBoxLayout;
    cones->addWidget(Witness_Cones, 1);
    cones->addWidget(SaveCones);
    layout->addLayout(cones);
    // The proposal gets a row of its own: a sentence or two that must not be cut.
    auto* offset = new QHBoxLayout;
    offset->addWidget(Cone_Offset_Proposal, 1);
    offset->addWidget(TakeConeOffset, 0, Qt::AlignTop);
    layout->addLayout(offset);
    layout->addLayout(buttons);
    layout->addWidget(History_Messages);
    resize(1100, 700);

    connect(Firings, &QTableWidget::itemSelectionChanged, this, [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : Firings->selectionModel()->selectedRows()) {
            rows.push_back(index.row());
        }
        std::sort(rows.begin(), rows.end());
        Model_->Firings_Chosen(rows);
        Refresh();
    });
    connect(ExportCSV, &QPushButton::clicked, this, [this] {
        Model_->Export_CSV_Click();
        Refresh();
    });
    connect(PrintReport, &QPushButton::clicked, this, [this] {
        Model_->Print_Report_Click();
        Refresh();
    });
    connect(Firing_Search, &QLineEdit::textChanged, this, [this](const QString& text) {
        Model_->Search_Changed(text.toStdString());
        Show_Table();
        Refresh();
    });
    connect(SaveNotes, &QPushButton::clicked, this, [this] {
        Model_->Save_Notes_Click(Firing_Notes->toPlainText().toStdString());
        Refresh();
    });
    connect(SaveCones, &QPushButton::clicked, this, [this] {
        Model_->Save_Witness_Cones_Click(Witness_Cones->text().toStdString());
        Refresh();
    });
    connect(TakeConeOffset, &QPushButton::clicked, this, [this] {
        Model_->Take_Cone_Offset_Click();
        Show_Table();
        Refresh();
    });
    connect(EnergySettings, &QPushButton::clicked, this, [this] {
        if (Energy_Window_->Open() == QDialog::Accepted) Open();
    });
}

Firing_History_Window::~Firing_History_Window() = default;

void Firing_History_Window::Set_Captions() {
    setWindowTitle(T("Firing History"));
    QStringList titles;
    for (const char* title : Firing_List_Titles) titles << T(title);
    Firings->setHorizontalHeaderLabels(titles);
    ExportCSV->setText(T("Export CSV"));
    PrintReport->setText(T("Print Report"));
    EnergySettings->setText(T("Energy Settings"));
    SaveNotes->setText(T("Save Notes"));
    SaveCones->setText(T("Save Witness Cones"));
    TakeConeOffset->setText(T("Take Cone Offset"));
    Witness_Cones->setPlaceholderText(
        T("Witness cones of the chosen firing, for example: 5 down, 6 at 3 o'clock, 7 standing"));
    Firing_Search->setPlaceholderText(T("Search profile, kiln or notes"));
    Firing_Notes->setPlaceholderText(
        T("Notes on the chosen firing: what was in the kiln, the cone pack, what to change"));
}

void Firing_History_Window::Open() {
    Set_Captions();
    Model_->Form_Load();
    Show_Table();
    Refresh();
    show();
    raise();
    activateWindow();
}

void Firing_History_Window::Apply_Language() {
    if (!isVisible()) return;  // opening sets them all
    Set_Captions();
    Model_->Language_Changed();
    Show_Table();
    {
        QSignalBlocker quiet(Firings);
        for (int row : Model_->Chosen)
            Firings->selectionModel()->select(
                Firings->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    Refresh();
}

void Firing_History_Window::Show_Table() {
    QSignalBlocker quiet(Firings);
    Firings->clearSelection();
    Firings->setRowCount(static_cast<int>(Model_->Rows.size()));
    for (int row = 0; row < Firings->rowCount(); ++row) {
        const auto& cells = Model_->Rows[static_cast<std::size_t>(row)];
        for (int col = 0; col < static_cast<int>(cells.size()); ++col) {
            Firings->setItem(row, col,
                             new QTableWidgetItem(Q(cells[static_cast<std::size_t>(col)])));
        }
    }
    Firings->resizeColumnsToContents();
}

void Firing_History_Window::Refresh() {
    FiringChart->Show_Chart(Model_->Chart);
    if (Shown_Notes_ != Model_->Notes || Firing_Notes->isEnabled() != Model_->Notes_Enabled) {
        Shown_Notes_ = Model_->Notes;
        Firing_Notes->setPlainText(Q(Model_->Notes));
    }
    Firing_Notes->setEnabled(Model_->Notes_Enabled);
    SaveNotes->setEnabled(Model_->Notes_Enabled);
    if (Shown_Witness_ != Model_->Witness_Cones) {
        Shown_Witness_ = Model_->Witness_Cones;
        Witness_Cones->setText(Q(Model_->Witness_Cones));
    }
    Witness_Cones->setEnabled(Model_->Notes_Enabled);
    SaveCones->setEnabled(Model_->Notes_Enabled);
    Cone_Offset_Proposal->setText(Q(Model_->Cone_Offset_Proposal));
    TakeConeOffset->setEnabled(Model_->Take_Cone_Offset_Enabled);
    Show_Message_Lines(*Firing_Summary, Shown_Summary_, Model_->Summary);
    Show_Message_Lines(*History_Messages, Shown_Messages_, Model_->Messages);
    PrintReport->setEnabled(Model_->Print_Report_Enabled);
}

}  // namespace corvanel
