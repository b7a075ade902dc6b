// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/windows/new_from_cone_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "language/translate.h"
#include "profiles/sensor_table.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

constexpr std::array<const char*, 3> Speed_Captions = {"Slow", "Medium", "Fast"};

}  // namespace

New_From_Cone_Window::New_From_Cone_Window(QWidget* parent) : QDialog(parent) {
    setObjectName("New_From_Cone");
    setWindowModality(Qt::WindowModal);

    auto combo = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        return box;
    };
    cboCone = combo("cboCone");
    cboSpeed = combo("cboSpeed");
    cboScale = combo("cboScale");
    cboSensor = combo("cboSensor");
    for (const Sensor_Type& sensor : Sensor_Types) cboSensor->addItem(sensor.Caption);
    txtPreheat = Text_Box(this, "txtPreheat", nullptr, false);
    txtHold = Text_Box(this, "txtHold", nullptr, false);
    txtCoolRate = Text_Box(this, "txtCoolRate", nullptr, false);
    txtCoolTemp = Text_Box(this, "txtCoolTemp", nullptr, false);
    txtErrorLimit = Text_Box(this, "txtErrorLimit", nullptr, false);
    chkHeatWork = new QCheckBox(this);
    chkHeatWork->setObjectName("chkHeatWork");

    auto* form = new QFormLayout;
    auto row = [this, form](const char* name, const char* caption, QWidget* field) {
        QLabel* label = Label_For(this, name, caption, field);
        Labels_.emplace_back(label, caption);
        form->addRow(label, field);
    };
    row("lblCone", "Cone", cboCone);
    row("lblSpeed", "Speed", cboSpeed);
    row("lblScale", "Scale", cboScale);
    row("lblSensor", "SensorType", cboSensor);
    row("lblPreheat", "Preheat (hours, empty for none)", txtPreheat);
    row("lblHold", "Hold at peak (minutes, empty for none)", txtHold);
    row("lblCoolRate", "Cooling rate (degrees per hour, empty for none)", txtCoolRate);
    row("lblCoolTemp", "Cooling ends at", txtCoolTemp);
    row("lblErrorLimit", "Error limit for the alerts (degrees, empty for none)", txtErrorLimit);
    form->addRow(chkHeatWork);

    grdPreview = new QTableWidget(0, New_From_Cone::Preview_Columns, this);
    grdPreview->setObjectName("grdPreview");
    grdPreview->verticalHeader()->hide();
    grdPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPreview->setSelectionMode(QAbstractItemView::NoSelection);
    grdPreview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdPreview->setMinimumSize(640, 220);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName("lblMessage");
    lblMessage->setWordWrap(true);
    cmdOk = Button(this, "cmdOk", "Ok");
    cmdOk->setDefault(true);
    cmdCancel = Button(this, "cmdCancel", "Cancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(grdPreview, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);

    auto on_index = [this](QComboBox* box, auto change) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, change](int index) {
            Changed([&](Cone_Firing_Choice& c) { change(c, index); });
        });
    };
    on_index(cboCone, [this](Cone_Firing_Choice&, int index) { Model_.Cone_Index = index; });
    on_index(cboSpeed,
             [](Cone_Firing_Choice& c, int index) { c.Speed = static_cast<Cone_Speed>(index); });
    on_index(cboScale, [](Cone_Firing_Choice& c, int index) { c.Fahrenheit = index == 0; });
    on_index(cboSensor, [](Cone_Firing_Choice& c, int index) { c.Sensor = index; });
    auto on_text = [this](QLineEdit* box, std::string Cone_Firing_Choice::*field) {
        connect(box, &QLineEdit::textEdited, this, [this, field](const QString& text) {
            Changed([&](Cone_Firing_Choice& c) { c.*field = text.toStdString(); });
        });
    };
    on_text(txtPreheat, &Cone_Firing_Choice::Preheat_Hours);
    on_text(txtHold, &Cone_Firing_Choice::Hold_Minutes);
    on_text(txtCoolRate, &Cone_Firing_Choice::Cool_Rate);
    on_text(txtCoolTemp, &Cone_Firing_Choice::Cool_Temp);
    on_text(txtErrorLimit, &Cone_Firing_Choice::Error_Limit);

    connect(chkHeatWork, &QCheckBox::toggled, this,
            [this](bool on) { Changed([on](Cone_Firing_Choice& c) { c.End_On_Heat_Work = on; }); });

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        if (!Model_.OK_Enabled) return;
        if (On_OK) On_OK(Model_);
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void New_From_Cone_Window::Translate_Captions() {
    setWindowTitle(Q(TranslateText("New From Cone")));
    for (const auto& [label, caption] : Labels_) label->setText(Q(TranslateText(caption)));
    chkHeatWork->setText(
        Q(TranslateText("End on heat-work: the peak follows the rate the kiln reaches, and the "
                        "hold ends when the cone is reached")));
    cmdOk->setText(Q(TranslateText("Ok")));
    cmdCancel->setText(Q(TranslateText("Cancel")));
    QSignalBlocker quiet_speed(cboSpeed), quiet_scale(cboScale), quiet_cone(cboCone);
    cboSpeed->clear();
    for (const char* caption : Speed_Captions) cboSpeed->addItem(Q(TranslateText(caption)));
    // The sensor letters as the editor's SensorType menu shows them.
    for (std::size_t s = 0; s < Sensor_Types.size(); ++s)
        cboSensor->setItemText(static_cast<int>(s), Q(TranslateText(Sensor_Types[s].Caption)));
    cboScale->clear();
    cboScale->addItem(Q(TranslateText("Fahrenheit")));
    cboScale->addItem(Q(TranslateText("Celsius")));
    cboCone->clear();
    for (const std::string& cone : Model_.Cone_List) cboCone->addItem(Q(cone));
}

void New_From_Cone_Window::Form_Load(const Profile_Editor& editor) {
    Model_.Form_Load(editor);
    Translate_Captions();
    for (QLineEdit* box : {txtPreheat, txtHold, txtCoolRate, txtCoolTemp, txtErrorLimit})
        box->clear();
    Refresh();
}

void New_From_Cone_Window::Changed(const std::function<void(Cone_Firing_Choice&)>& change) {
    change(Model_.Choice);
    Model_.Choice_Changed();
    Refresh();
}

void New_From_Cone_Window::Refresh() {
    const New_From_Cone& m = Model_;
    {
        QSignalBlocker quiet_cone(cboCone), quiet_speed(cboSpeed), quiet_scale(cboScale),
            quiet_sensor(cboSensor), quiet_heat_work(chkHeatWork);
        cboCone->setCurrentIndex(m.Cone_Index);
        cboSpeed->setCurrentIndex(static_cast<int>(m.Choice.Speed));
        cboScale->setCurrentIndex(m.Choice.Fahrenheit ? 0 : 1);
        cboSensor->setCurrentIndex(m.Choice.Sensor);
        chkHeatWork->setChecked(m.Choice.End_On_Heat_Work);
    }
    Show_Texts({{txtPreheat, m.Choice.Preheat_Hours},
                {txtHold, m.Choice.Hold_Minutes},
                {txtCoolRate, m.Choice.Cool_Rate},
                {txtCoolTemp, m.Choice.Cool_Temp},
                {txtErrorLimit, m.Choice.Error_Limit}});

    grdPreview->setRowCount(static_cast<int>(m.Preview.size()));
    for (int row = 0; row < static_cast<int>(m.Preview.size()); ++row) {
        for (int col = 0; col < New_From_Cone::Preview_Columns; ++col) {
            auto* cell = new QTableWidgetItem(
                Q(m.Preview[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdPreview->setItem(row, col, cell);
        }
    }
    QStringList titles;
    for (const std::string& title : m.Preview_Titles) titles << Q(title);
    grdPreview->setHorizontalHeaderLabels(titles);
    // What each box takes, greyed inside it while it is empty.
    const std::pair<QLineEdit*, const std::string*> limits[] = {
        {txtPreheat, &m.Limits.Preheat},
        {txtHold, &m.Limits.Hold},
        {txtCoolRate, &m.Limits.Cool_Rate},
        {txtCoolTemp, &m.Limits.Cool_Temp},
        {txtErrorLimit, &m.Limits.Error_Limit}};
    for (const auto& [box, limit] : limits) box->setPlaceholderText(Q(*limit));
    lblMessage->setText(Q(m.Message));
    cmdOk->setEnabled(m.OK_Enabled);
}

}  // namespace corvanel
