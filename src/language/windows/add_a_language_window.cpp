// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/windows/add_a_language_window.h"

#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace corvanel {

namespace {}  // namespace

AddALanguage_Window::AddALanguage_Window(Program_Paths paths, Settings_Store& settings,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), Paths_(paths), Model_(std::move(paths), settings) {
    setObjectName("AddALanguage");
    setWindowTitle("Add or Select a Target Language");

    AddNewLanguageFrame = new QGroupBox("Add New Interface Language", this);
    AddNewLanguageFrame->setObjectName("AddNewLanguageFrame");
    AddNewLanguageFrame->setToolTip("Enter new language name and click 'Add This Language'");
    LanguageName = new QLineEdit(AddNewLanguageFrame);
    LanguageName->setObjectName("LanguageName");
    LanguageName->setToolTip("use only letters a-z ,  numbers 0-9 and - (dash)");
    MakeDataBaseFile = Button(AddNewLanguageFrame, "MakeDataBaseFile", "Add This Language",
                              "Click this button after entering a valid language name");
    auto* add_layout = new QHBoxLayout(AddNewLanguageFrame);
    add_layout->addWidget(LanguageName, 1);
    add_layout->addWidget(MakeDataBaseFile);

    LanguageSelectionFrame = new QGroupBox("Currently Available Interface Languages", this);
    LanguageSelectionFrame->setObjectName("LanguageSelectionFrame");
    LanguageSelectionFrame->setToolTip(
        "To select language highlight language and click 'Use This Language' button");
    LanguageList = new QListWidget(LanguageSelectionFrame);
    LanguageList->setObjectName("LanguageList");
    LanguageList->setToolTip(
        "Highlight the language with mouse - then click 'Use This Language' to select");
    LanguageList->setSelectionMode(QAbstractItemView::SingleSelection);
    UseSelectedLanguage = Button(LanguageSelectionFrame, "UseSelectedLanguage", "Use This Language",
                                 "Click to select highlighted language for use with program");
    OpenLanguageEditor =
        Button(LanguageSelectionFrame, "OpenLanguageEditor", "Edit This Language", nullptr);
    auto* select_buttons = new QVBoxLayout;
    select_buttons->addWidget(UseSelectedLanguage);
    select_buttons->addWidget(OpenLanguageEditor);
    select_buttons->addStretch();
    auto* select_layout = new QHBoxLayout(LanguageSelectionFrame);
    select_layout->addWidget(LanguageList, 1);
    select_layout->addLayout(select_buttons);

    AddALanguageDisplay = new QPlainTextEdit(this);
    AddALanguageDisplay->setObjectName("AddALanguageDisplay");
    AddALanguageDisplay->setToolTip("Watch this display for instructions and results");
    AddALanguageDisplay->setAccessibleName("Instructions and results");
    AddALanguageDisplay->setReadOnly(true);
    cmdDone = Button(this, "cmdDone", "Done", nullptr);

    auto* done_row = new QHBoxLayout;
    done_row->addStretch();
    done_row->addWidget(cmdDone);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(AddNewLanguageFrame);
    layout->addWidget(LanguageSelectionFrame, 1);
    layout->addWidget(AddALanguageDisplay, 1);
    layout->addLayout(done_row);
    resize(620, 560);

    // The window's own hooks go through the program, so the model's default stays unused.
    Model_.Show_Language_Editor = [this] {
        if (Show_Language_Editor) Show_Language_Editor();
    };

    connect(LanguageName, &QLineEdit::textEdited, this,
            [this](const QString& text) { Model_.LanguageName = text.toStdString(); });
    connect(LanguageList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!Refreshing_ && row >= 0) Handle([this, row] { Model_.LanguageList_Click(row); });
    });
    connect(LanguageList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        int row = LanguageList->row(item);
        Handle([this, row] { Model_.LanguageList_Click(row); });
    });
    connect(MakeDataBaseFile, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.MakeDataBaseFile_Click(); }); });
    connect(UseSelectedLanguage, &QPushButton::clicked, this, [this] {
        bool chosen = Model_.ListIndex >= 0;
        Handle([this] { Model_.UseSelectedLanguage_Click(); });
        if (chosen && Language_Chosen) Language_Chosen();
    });
    connect(OpenLanguageEditor, &QPushButton::clicked, this,
            [this] { Handle([this] { Model_.OpenLanguageEditor_Click(); }); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { Unload(); });
    // A click on a frame's empty space explains that part of the window.
    AddNewLanguageFrame->installEventFilter(this);
    LanguageSelectionFrame->installEventFilter(this);
}

bool AddALanguage_Window::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == AddNewLanguageFrame) {
            Handle([this] { Model_.AddNewLanguageFrame_Click(); });
        } else if (watched == LanguageSelectionFrame) {
            Handle([this] { Model_.LanguageSelectionFrame_Click(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AddALanguage_Window::Open() {
    if (!Model_.Window_Loaded) {
        // An unloaded window comes back with empty controls and runs its opening again.
        Model_.LanguageName.clear();
        Model_.ClearDisplayLines();
        Model_.Form_Load();
        Refresh();
    }
    show();
    raise();
    activateWindow();
}

void AddALanguage_Window::Unload() {
    Model_.cmdDone_Click();
    hide();
}

void AddALanguage_Window::closeEvent(QCloseEvent* event) {
    // Closing by the frame unloads the window as "Done" does.
    Model_.cmdDone_Click();
    event->accept();
}

void AddALanguage_Window::Refresh() {
    Refreshing_ = true;
    const QString name = QString::fromStdString(Model_.LanguageName);
    if (LanguageName->text() != name) LanguageName->setText(name);
    if (Shown_List_ != Model_.LanguageList) {
        LanguageList->clear();
        for (const std::string& language : Model_.LanguageList) {
            LanguageList->addItem(QString::fromStdString(language));
        }
        Shown_List_ = Model_.LanguageList;
    }
    for (int i = 0; i < LanguageList->count(); ++i) {
        bool selected = static_cast<std::size_t>(i) < Model_.LanguageList_Selected.size() &&
                        Model_.LanguageList_Selected[static_cast<std::size_t>(i)];
        LanguageList->item(i)->setSelected(selected);
    }
    if (Model_.ListIndex >= 0 && Model_.ListIndex < LanguageList->count()) {
        LanguageList->setCurrentRow(Model_.ListIndex, QItemSelectionModel::NoUpdate);
    }
    Show_Message_Lines(*AddALanguageDisplay, Shown_Display_, Model_.AddALanguageDisplay);
    Refreshing_ = false;
}

}  // namespace corvanel
