// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/windows/language_database_interface_window.h"

#include "ui/widgets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "language/windows/add_a_language_window.h"

namespace corvanel {

LanguageDataBaseInterface_Window::LanguageDataBaseInterface_Window(File_Dialog& dialog,
                                                                   QWidget* parent)
    : QMainWindow(parent), Dialog_(dialog) {
    setObjectName("LanguageDataBaseInterface");
    setWindowTitle("Language Editor");
    auto* central = new QWidget(this);
    setCentralWidget(central);

    PhraseMapFrame = Frame(central, "PhraseMapFrame", "Phrase Map");
    LanguageMap = new QTreeWidget(PhraseMapFrame);
    LanguageMap->setObjectName("LanguageMap");
    LanguageMap->setRootIsDecorated(false);
    LanguageMap->setUniformRowHeights(true);
    LanguageMap->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headings;
    for (const std::string& heading : LanguageDataBaseInterface::Column_Headings()) {
        headings << Q(heading);
    }
    LanguageMap->setHeaderLabels(headings);
    // Each column takes an equal share (a fifth) of the map's width.
    LanguageMap->header()->setSectionResizeMode(QHeaderView::Stretch);
    (new QVBoxLayout(PhraseMapFrame))->addWidget(LanguageMap);

    LanguageFileFrame = Frame(central, "LanguageFileFrame", "Language File");
    LanguageName = Text_Box(LanguageFileFrame, "LanguageName", nullptr, true);
    (new QVBoxLayout(LanguageFileFrame))->addWidget(LanguageName);

    MessagesFrame = Frame(central, "MessagesFrame", "Messages");
    DBInterfaceDisplay = Message_View(MessagesFrame, "DBInterfaceDisplay");
    (new QVBoxLayout(MessagesFrame))->addWidget(DBInterfaceDisplay);

    PhrasesFrame = Frame(central, "PhrasesFrame", "Phrases");
    EnglishPhraseFrame = Frame(PhrasesFrame, "EnglishPhraseFrame", "English Phrase");
    DisplayEnglish = Text_Box(EnglishPhraseFrame, "DisplayEnglish", nullptr, false);
    DisplayEnglishExplanation =
        Text_Box(EnglishPhraseFrame, "DisplayEnglishExplanation", nullptr, false);
    EnglishPhraseLabel =
        Label_For(EnglishPhraseFrame, "EnglishPhraseLabel", "Phrase", DisplayEnglish);
    EnglishCommentLabel =
        Label_For(EnglishPhraseFrame, "EnglishCommentLabel", "Comment", DisplayEnglishExplanation);
    auto* english = new QGridLayout(EnglishPhraseFrame);
    english->addWidget(EnglishPhraseLabel, 0, 0);
    english->addWidget(DisplayEnglish, 0, 1);
    english->addWidget(EnglishCommentLabel, 1, 0);
    english->addWidget(DisplayEnglishExplanation, 1, 1);

    TargetLanguageFrame = Frame(PhrasesFrame, "TargetLanguageFrame", "Target Language");
    DisplayTargetLanguage = Text_Box(TargetLanguageFrame, "DisplayTargetLanguage", nullptr, false);
    DisplayTargetLanguageExplanation =
        Text_Box(TargetLanguageFrame, "DisplayTargetLanguageExplanation", nullptr, false);
    TargetPhraseLabel =
        Label_For(TargetLanguageFrame, "TargetPhraseLabel", "Phrase", DisplayTargetLanguage);
    TargetCommentLabel = Label_For(TargetLanguageFrame, "TargetCommentLabel", "Comment",
                                   DisplayTargetLanguageExplanation);
    auto* target = new QGridLayout(TargetLanguageFrame);
    target->addWidget(TargetPhraseLabel, 0, 0);
    target->addWidget(DisplayTargetLanguage, 0, 1);
    target->addWidget(TargetCommentLabel, 1, 0);
    target->addWidget(DisplayTargetLanguageExplanation, 1, 1);

    EntryDateOfLastUpdate = Text_Box(PhrasesFrame, "EntryDateOfLastUpdate", nullptr, true);
    EntryDateLabel =
        Label_For(PhrasesFrame, "EntryDateLabel", "Entry Last Updated:", EntryDateOfLastUpdate);
    auto* date_row = new QHBoxLayout;
    date_row->addWidget(EntryDateLabel);
    date_row->addWidget(EntryDateOfLastUpdate, 1);
    auto* phrases = new QVBoxLayout(PhrasesFrame);
    phrases->addWidget(EnglishPhraseFrame);
    phrases->addWidget(TargetLanguageFrame);
    phrases->addLayout(date_row);

    SearchFrame = Frame(central, "SearchFrame", "Search Phrases");
    SearchBox = Text_Box(SearchFrame, "SearchBox", nullptr, false);
    SearchLanguageOption = new QRadioButton("English", SearchFrame);
    SearchLanguageOption->setObjectName("SearchLanguageOption");
    SearchTargetLanguageOption = new QRadioButton("Target Language", SearchFrame);
    SearchTargetLanguageOption->setObjectName("SearchTargetLanguageOption");
    auto* search = new QHBoxLayout(SearchFrame);
    search->addWidget(SearchBox, 1);
    search->addWidget(SearchLanguageOption);
    search->addWidget(SearchTargetLanguageOption);

    auto* top = new QHBoxLayout;
    top->addWidget(LanguageFileFrame, 1);
    top->addWidget(SearchFrame, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(PhrasesFrame, 3);
    bottom->addWidget(MessagesFrame, 2);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(PhraseMapFrame, 1);
    layout->addLayout(bottom);

    mnuFile = Menu(*menuBar(), "mnuFile", "File");
    mnuOpenLanguage = Menu_Item(*mnuFile, "mnuOpenLanguage", "Open Language");
    mnuExit = Menu_Item(*mnuFile, "mnuExit", "Exit");
    resize(980, 700);

    connect(LanguageMap, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        int row = LanguageMap->indexOfTopLevelItem(item) + 1;  // map rows count from 1
        Handle([this, row] { Model().LanguageMap_ItemClick(row); });
    });
    // Text typed, pasted or inserted through the accessibility interface reaches the form
    // object change by change; text the editor fills in itself (Refresh) does not come
    // back as an edit.
    auto edited = [this](QLineEdit* box,
                         void (LanguageDataBaseInterface::*change)(const std::string&)) {
        connect(box, &QLineEdit::textChanged, this, [this, change](const QString& text) {
            if (Refreshing_) return;
            Handle([this, change, text] { (Model().*change)(text.toStdString()); });
        });
    };
    edited(DisplayEnglish, &LanguageDataBaseInterface::DisplayEnglish_Change);
    edited(DisplayTargetLanguage, &LanguageDataBaseInterface::DisplayTargetLanguage_Change);
    edited(DisplayEnglishExplanation, &LanguageDataBaseInterface::DisplayEnglishExplanation_Change);
    edited(DisplayTargetLanguageExplanation,
           &LanguageDataBaseInterface::DisplayTargetLanguageExplanation_Change);
    edited(SearchBox, &LanguageDataBaseInterface::SearchBox_Change);
    // Checked by a click, a key or an assistive technology's press action alike.
    auto option = [this](QRadioButton* button, bool english) {
        connect(button, &QRadioButton::toggled, this, [this, english](bool checked) {
            if (Refreshing_ || !checked) return;
            Handle([this, english] { Model().SearchLanguageOption_Click(english); });
        });
    };
    option(SearchLanguageOption, true);
    option(SearchTargetLanguageOption, false);
    connect(mnuOpenLanguage, &QAction::triggered, this, [this] {
        Handle([this] {
            Model().Set_File_Dialog(&Dialog_);
            Model().mnuOpenLanguage_Click();
        });
    });
    connect(mnuExit, &QAction::triggered, this, [this] { close(); });
}

LanguageDataBaseInterface& LanguageDataBaseInterface_Window::Model() {
    return Language_Editor_Instance();
}

void LanguageDataBaseInterface_Window::Open() {
    LanguageDataBaseInterface& model = Model();
    model.Set_File_Dialog(&Dialog_);
    if (!model.Window_Loaded() || !isVisible()) {
        // A window loaded afresh shows nothing of its last opening until the load fills it.
        if (!model.Window_Loaded()) {
            model.LanguageMap.clear();
            model.LanguageName.clear();
            model.SearchBox.clear();
            model.DisplayEnglish.clear();
            model.DisplayTargetLanguage.clear();
            model.DisplayEnglishExplanation.clear();
            model.DisplayTargetLanguageExplanation.clear();
            model.EntryDateOfLastUpdate.clear();
        }
        model.Show();
        Refresh();
    }
    show();
    raise();
    activateWindow();
}

void LanguageDataBaseInterface_Window::closeEvent(QCloseEvent* event) {
    // "Exit" and the frame's close both unload the window; the form object stays.
    Model().mnuExit_Click();
    event->accept();
}

void LanguageDataBaseInterface_Window::Refresh_Map() {
    const std::vector<Language_Map_Row>& map = Model().LanguageMap;
    auto cells_of = [](const Language_Map_Row& row) {
        QStringList cells{Q(row.Text)};
        for (const std::string& sub_item : row.SubItems) cells << Q(sub_item);
        return cells;
    };
    if (map.size() != Shown_Map_.size()) {
        LanguageMap->clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<qsizetype>(map.size()));
        for (const Language_Map_Row& row : map) items << new QTreeWidgetItem(cells_of(row));
        LanguageMap->addTopLevelItems(items);
    } else {
        // Same number of rows: only the cells that changed are written.
        for (std::size_t r = 0; r < map.size(); ++r) {
            const Language_Map_Row& row = map[r];
            const Language_Map_Row& shown = Shown_Map_[r];
            if (row.Text == shown.Text && row.SubItems == shown.SubItems) continue;
            QTreeWidgetItem* item = LanguageMap->topLevelItem(static_cast<int>(r));
            const QStringList cells = cells_of(row);
            for (int c = 0; c < cells.size(); ++c) item->setText(c, cells[c]);
        }
    }
    Shown_Map_ = map;
}

void LanguageDataBaseInterface_Window::Refresh() {
    const bool outer = !Refreshing_;
    Refreshing_ = true;
    LanguageDataBaseInterface& m = Model();
    Refresh_Map();
    Show_Texts({{LanguageName, m.LanguageName},
                {DisplayEnglish, m.DisplayEnglish},
                {DisplayTargetLanguage, m.DisplayTargetLanguage},
                {DisplayEnglishExplanation, m.DisplayEnglishExplanation},
                {DisplayTargetLanguageExplanation, m.DisplayTargetLanguageExplanation},
                {EntryDateOfLastUpdate, m.EntryDateOfLastUpdate},
                {SearchBox, m.SearchBox}});
    // Checking one option button of the pair clears the other.
    (m.SearchLanguageOption ? SearchLanguageOption : SearchTargetLanguageOption)->setChecked(true);
    Show_Message_Lines(*DBInterfaceDisplay, Shown_Display_, m.DBInterfaceDisplay);
    if (outer) Refreshing_ = false;
}

}  // namespace corvanel
