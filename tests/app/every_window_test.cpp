// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and dialog of the program, from one table, on a laptop's 1366x768 screen:
// in German each fits the screen with no control cut off or lying over another; in a
// marking language (each phrase translated to "[[phrase]]") every text the operator sees
// through a firing, its history, its report, the status page and corvanel-log is marked.

#include <unistd.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLegendMarker>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextDocumentFragment>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "controller/windows/front_panel_window.h"
#include "history/firing_history.h"
#include "history/windows/firing_history_window.h"
#include "language/language_database.h"
#include "language/windows/add_a_language_window.h"
#include "profiles/windows/profile_editor_window.h"
#include "remote/status_words.h"
#include "remote/windows/remote_monitoring.h"
#include "run/firing_record.h"
#include "support/program_rig.h"
#include "tools/log_tool.h"

namespace corvanel::testing {
namespace {

// The test program's one screen is a laptop's, before the application is made; the test
// run also runs the layout again on a 1920x1080 desktop (CORVANEL_TEST_SCREEN=1920x1080).
const bool Laptop_Screen = [] {
    int width = 1366, height = 768;
    if (const char* size = std::getenv("CORVANEL_TEST_SCREEN"))
        std::sscanf(size, "%dx%d", &width, &height);
    const auto config = std::filesystem::temp_directory_path() /
                        ("corvanel_laptop_screen_" + std::to_string(getpid()) + ".json");
    std::ofstream(config) << R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": )" << width
                          << R"(, "height": )" << height
                          << R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
    return true;
}();

// A window manager's title bar above each window.
constexpr int Title_Bar = 30;

struct Shown_Text {
    std::string Where, Text;
};

// Its objectName, or its class when it has none.
std::string Name_Of(const QObject* object) {
    return (object->objectName().isEmpty() ? QString(object->metaObject()->className())
                                           : object->objectName())
        .toStdString();
}

void Add(std::vector<Shown_Text>& texts, const QObject* where, const QString& text) {
    if (!text.trimmed().isEmpty()) texts.push_back({Name_Of(where), text.toStdString()});
}

void Add_Menu(std::vector<Shown_Text>& texts, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        // The Language menu and its items stay English in every language.
        if (action->menu() && action->menu()->objectName() == "mnuLanguage") continue;
        Add(texts, action, action->text());
        if (action->menu()) Add_Menu(texts, action->menu()->actions());
    }
}

// Every text the window shows the operator: titles, captions, tool tips, entries, lines
// of its message areas, table headings and cells, menus, and what its charts draw.
std::vector<Shown_Text> Texts_Shown(QWidget& window) {
    std::vector<Shown_Text> texts;
    Add(texts, &window, window.windowTitle());
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisible()) continue;
        Add(texts, widget, widget->toolTip());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QString text = label->text();
            Add(texts, label,
                Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText()
                                          : text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            Add(texts, button, button->text());
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            Add(texts, frame, frame->title());
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            // What the operator types is theirs; what the program shows in a box is checked.
            if (box->isReadOnly()) Add(texts, box, box->text());
            Add(texts, box, box->placeholderText());
        } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
            for (const QString& line : area->toPlainText().split('\n')) Add(texts, area, line);
            Add(texts, area, area->placeholderText());
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < list->count(); ++i) Add(texts, list, list->itemText(i));
        } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (QTableWidgetItem* title = table->horizontalHeaderItem(c))
                    Add(texts, table, title->text());
            }
            // The profile sheets' cells hold the profile as its file has it.
            if (table->objectName().endsWith("FlexGrid") || table->objectName() == "grdPreview")
                continue;
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    if (QTableWidgetItem* cell = table->item(r, c)) Add(texts, table, cell->text());
                }
            }
        } else if (auto* view = qobject_cast<QChartView*>(widget)) {
            QChart& chart = *view->chart();
            Add(texts, view, chart.title());
            for (QAbstractAxis* axis : chart.axes())
                if (axis->isVisible()) Add(texts, view, axis->titleText());
            if (chart.legend()->isVisible()) {
                for (QLegendMarker* marker : chart.legend()->markers())
                    if (marker->isVisible() && marker->series()->isVisible())
                        Add(texts, view, marker->label());
            }
        } else if (auto* drawn = dynamic_cast<Firing_Chart_Widget*>(widget)) {
            const Firing_Chart& chart = drawn->Chart();
            std::vector<std::string> words = {chart.Title, chart.X_Title, chart.Y_Title,
                                              chart.Empty_Hint};
            words.insert(words.end(), chart.Record_Labels.begin(), chart.Record_Labels.end());
            if (!chart.Series.empty())
                words.insert(words.end(), chart.Kind_Names.begin(), chart.Kind_Names.end());
            for (const Chart_Mark& mark : chart.Marks) words.push_back(mark.Label);
            for (const std::string& word : words) Add(texts, drawn, QString::fromStdString(word));
        } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
            Add_Menu(texts, bar->actions());
        }
    }
    return texts;
}

// Shown untranslated on purpose, as the controller reports them: the front panel's five
// Read Status lines and the reply frame in its response box.
bool Left_Untranslated(const Shown_Text& shown) {
    static const std::regex status(R"(^(Status (Hi|Mid|Low)|Input Type|TempScale)=)");
    return shown.Where == "Response_Box" || std::regex_search(shown.Text, status);
}

// Left untranslated on purpose in any text: the firing's own names (profile, log and
// record files, folders), the program's name, numbers with their units, and the fragments
// the windows have always appended to a translated phrase (" =>", "=", "col=").
bool Marked(const std::string& text, const std::vector<std::string>& names) {
    std::string left;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "[[") == 0) {
            ++depth, ++i;
        } else if (depth > 0 && text.compare(i, 2, "]]") == 0) {
            --depth, ++i;
            left += ' ';
        } else if (depth == 0) {
            left += text[i];
        }
    }
    for (const std::string& name : names) {
        for (std::size_t at; (at = left.find(name)) != std::string::npos;)
            left.replace(at, name.size(), " ");
    }
    static const std::regex allowed(
        R"(\S*/\S*|\S+\.(txt|csv|pdf)\b|\bCorvanel\b|\bcol=|\b(F|C|min|h|s|kWh)\b)");
    left = std::regex_replace(left, allowed, " ");
    return std::none_of(left.begin(), left.end(),
                        [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

// What is wrong with the window on the laptop's screen: larger than the screen, a control
// cut off by its window or given less room than its text needs, two controls one over
// the other.
std::vector<std::string> Layout_Faults(QWidget& window) {
    std::vector<std::string> faults;
    auto size = [](const QSize& s) {
        return std::to_string(s.width()) + "x" + std::to_string(s.height());
    };
    const QRect screen = window.screen()->availableGeometry();
    if (window.width() > screen.width() || window.height() + Title_Bar > screen.height())
        faults.push_back(Name_Of(&window) + " is " + size(window.size()) + " with its title bar");
    std::map<QWidget*, std::vector<QWidget*>> placed;  // by the widget they are laid out in
    for (QLayout* layout : window.findChildren<QLayout*>()) {
        QWidget* owner = layout->parentWidget();
        if (!owner || !owner->isVisible()) continue;
        for (int i = 0; i < layout->count(); ++i) {
            QWidget* widget = layout->itemAt(i)->widget();
            if (!widget || !widget->isVisible()) continue;
            placed[owner].push_back(widget);
            if (!owner->rect().contains(widget->geometry()))
                faults.push_back(Name_Of(widget) + " is cut off by " + Name_Of(owner));
            QSize need = widget->minimumSizeHint().expandedTo(widget->minimumSize());
            // A button's text needs its width inside the frame, whatever width the style likes.
            if (auto* button = qobject_cast<QPushButton*>(widget)) {
                const int frame =
                    button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
                need.setWidth(button->fontMetrics().horizontalAdvance(button->text()) + 2 * frame);
            }
            const int need_height = widget->hasHeightForWidth()
                                        ? widget->heightForWidth(widget->width())
                                        : need.height();
            const QSizePolicy policy = widget->sizePolicy();
            if ((policy.horizontalPolicy() != QSizePolicy::Ignored &&
                 widget->width() < need.width()) ||
                (policy.verticalPolicy() != QSizePolicy::Ignored && widget->height() < need_height))
                faults.push_back(Name_Of(widget) + " has " + size(widget->size()) + " of the " +
                                 size({need.width(), need_height}) + " it needs");
        }
    }
    for (auto& [owner, widgets] : placed) {
        for (std::size_t a = 0; a < widgets.size(); ++a)
            for (std::size_t b = a + 1; b < widgets.size(); ++b)
                if (widgets[a]->geometry().intersects(widgets[b]->geometry()))
                    faults.push_back(Name_Of(widgets[a]) + " lies over " + Name_Of(widgets[b]));
    }
    return faults;
}

class Every_Window : public Program_Rig {
  protected:
    // The program with its own dialogs for changing a firing and starting later.
    void Start_With_Its_Dialogs() {
        Own_Change_Dialog = true;
        Start_Program();
    }

    void Choose_Language(const char* name) {
        Window().mnuSelectLanguage->trigger();
        AddALanguage_Window& languages = Program->Language_Window();
        QListWidget& list = *languages.LanguageList;
        QListWidgetItem* item = list.findItems(name, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr) << name;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
        QTest::mouseClick(languages.UseSelectedLanguage, Qt::LeftButton);
    }

    QAction* Entry(QMenu* menu, const char* name) { return menu->findChild<QAction*>(name); }

    // A window of the program as the operator opens it, and how it is closed again.
    struct Program_Window {
        const char* Name;  // its objectName
        std::function<void()> Open;
        std::function<void(QWidget&)> Close = nullptr;  // by default its frame's close
        bool Stays_English = false;                     // the language windows, in every language
    };

    std::vector<Program_Window> Windows() {
        Traj_form_Window& run = Window();
        auto history = [this] { return &Program->History_Window(); };
        auto health = [this] {
            Entry(Window().mnuFile, "mnuKilnHealth")->trigger();
            return Shown_Window("Kiln_Health");
        };
        return {
            {"Traj_form", [] {}, [](QWidget&) {}},
            {"FrontPanel", [&run] { run.mnuFrontPanel->trigger(); },
             [this](QWidget&) { Program->Front_Panel_Window().Exit_FrontPanel->click(); }},
            {"CommSetUp", [&run] { run.frmCommPortConfig->trigger(); }},
            {"dlgGetName", [&run] { run.mnuSetUpName->trigger(); }},
            {"Start_Later", [&run] { run.Start_Later->click(); }},
            {"Safety_Settings",
             [&run, this] { Entry(run.mnuSetUp, "mnuSafetySettings")->trigger(); }},
            {"RemoteMonitoring",
             [&run, this] { Entry(run.mnuSetUp, "mnuRemoteMonitoring")->trigger(); }},
            {"MqttSetup", [&run, this] { Entry(run.mnuSetUp, "mnuMqtt")->trigger(); }},
            {"Firing_History",
             [&run, this, history] {
                 Entry(run.mnuFile, "mnuFiringHistory")->trigger();
                 if (history()->Firings->rowCount() > 0) history()->Firings->selectRow(0);
             }},
            {"Energy_Settings",
             [this, history] {
                 Entry(Window().mnuFile, "mnuFiringHistory")->trigger();
                 history()->EnergySettings->click();
             }},
            {"Kiln_Health", [health] { health(); }},
            {"Kiln_Health_Settings",
             [health] {
                 if (QWidget* window = health())
                     window->findChild<QPushButton*>("HealthSettings")->click();
             }},
            {"Profile_Editor", [&run] { run.mnuEdit->trigger(); }},
            {"New_From_Cone",
             [this] {
                 Window().mnuEdit->trigger();
                 Program->Editor_Window().mnuNewFromCone->trigger();
             }},
            {"AddALanguage", [&run] { run.mnuSelectLanguage->trigger(); }, nullptr, true},
            {"LanguageDataBaseInterface", [&run] { run.mnuEditTranslation->trigger(); }, nullptr,
             true},
        };
    }

    // Opens the window as the operator does, runs the check on it once it shows (inside
    // its own event loop when it is modal), and closes it.
    void Visit(const Program_Window& entry, const std::function<void(QWidget&)>& check) {
        bool visited = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* shown = Shown_Window(entry.Name);
            if (!shown || visited) return;
            visited = true;
            poll.stop();
            check(*shown);
            if (entry.Close) {
                entry.Close(*shown);
            } else if (auto* dialog = qobject_cast<QDialog*>(shown)) {
                dialog->reject();
            } else {
                shown->close();
            }
        });
        poll.start(50);
        entry.Open();
        EXPECT_TRUE(Eventually([&] { return visited; }, 10000)) << entry.Name << " never showed";
    }
};

TEST_F(Every_Window, FitsALaptopScreenInGermanWithNoControlCutOffOrCovered) {
    Start_Kiln_Sim();
    Start_With_Its_Dialogs();
    Open_Quick_Test();
    Choose_Language("german");
    Program->Language_Window().close();
    for (const Program_Window& entry : Windows()) {
        Visit(entry, [&](QWidget& window) {
            const std::vector<std::string> faults = Layout_Faults(window);
            EXPECT_TRUE(faults.empty()) << entry.Name << ":\n" << ::testing::PrintToString(faults);
        });
    }
}

TEST_F(Every_Window, InAMarkingLanguageEveryTextTheOperatorSeesIsTranslated) {
    // The marking language, made from the phrase list the program ships.
    const std::filesystem::path languages = Paths.Folder() / "LanguageFiles";
    const std::string marking = (languages / "marking.mdb").string();
    std::filesystem::copy_file(languages / "LanguageTemplateFiles" / "LanguageDBTemplate.mdb",
                               marking);
    {
        Language_Database database(marking, Language_Database::Access::Read_Write);
        for (const Phrase_Row& row : database.Select_All())
            database.Update(Editable_Column::TargetLanguage, "[[" + row.English + "]]",
                            row.English);
    }
    const std::vector<std::string> names = {Firing_Record_Name("marked.txt"), "marked.txt",
                                            "quick_test.txt", "quick_test"};
    std::vector<std::string> unmarked;
    auto check = [&](const std::string& where, const std::vector<Shown_Text>& texts) {
        for (const Shown_Text& shown : texts)
            if (!Left_Untranslated(shown) && !Marked(shown.Text, names))
                unmarked.push_back(where + " " + shown.Where + ": " + shown.Text);
    };
    auto check_window = [&](QWidget& window) {
        check(window.objectName().toStdString(), Texts_Shown(window));
    };

    Start_Kiln_Sim({"--speed=60"});
    Start_With_Its_Dialogs();
    Open_Quick_Test();
    Choose_Log("marked.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    Clock.Advance(60);
    ASSERT_TRUE(Eventually([&] { return Window().Elapsed_Time->text() == "1.00"; }));

    // Chosen mid-firing: the run window and the open history are marked at once, before
    // either is activated again; only the messages said before stay as they were said.
    // The editor made hidden at the start said its load's messages then, in English: the
    // caption pass at the change makes it anew.
    Program->Editor_Window().close();
    QTest::qWait(50);
    Entry(Window().mnuFile, "mnuFiringHistory")->trigger();
    Firing_History_Window& history = Program->History_Window();
    ASSERT_EQ(history.Firings->rowCount(), 1);
    history.Firings->selectRow(0);
    Choose_Language("marking");
    const std::size_t asked_before = Ask.Questions.size();
    for (QWidget* window : {static_cast<QWidget*>(&Window()), static_cast<QWidget*>(&history)}) {
        std::vector<Shown_Text> at_once = Texts_Shown(*window);
        std::erase_if(at_once, [](const Shown_Text& text) {
            return text.Where == "User_Message_Box" || text.Where == "History_Messages";
        });
        check("at once", at_once);
    }
    history.close();
    Program->Language_Window().close();
    Clock.Advance(60);
    ASSERT_TRUE(Eventually([&] {
        return Messages().find("[[Profile Running]]") != std::string::npos;
    })) << Messages();
    check_window(Window());

    // The firing changed through its own dialog, then run to its end.
    Visit({"Firing_Change", [this] { Window().mnuChangeSegment->trigger(); }}, check_window);
    Clock.Advance(9 * 60);
    ASSERT_TRUE(Eventually([&] { return !Window().Control_Interval->isActive(); })) << Messages();

    for (const Program_Window& entry : Windows())
        if (!entry.Stays_English) Visit(entry, check_window);

    // The report as it is printed, the page's words, corvanel-log's list and record.
    std::vector<Shown_Text> report;
    Firing_History pages(
        Paths, Program->Settings(), Log_Dialog,
        [&](const Firing_Chart& chart, const std::vector<std::string>& lines, const std::string&) {
            for (const std::string& line : lines) report.push_back({"line", line});
            for (const std::string& word : {chart.Title, chart.X_Title, chart.Y_Title})
                report.push_back({"chart", word});
            return std::optional<std::string>("");
        });
    pages.Form_Load();
    pages.Firings_Chosen({0});
    pages.Print_Report_Click();
    EXPECT_FALSE(report.empty());
    check("report", report);

    std::vector<Shown_Text> words;
    static const std::regex word(R"re("[a-z_]+":"((?:[^"\\]|\\.)*)")re");
    const std::string json = Status_Words_Json(Program->Remote().Snapshot(), Clock.Now());
    for (std::sregex_iterator at(json.begin(), json.end(), word), end; at != end; ++at)
        words.push_back({"word", (*at)[1]});
    EXPECT_FALSE(words.empty()) << json;
    check("status page", words);

    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"list"},
          {"show", Paths.Logfile(Firing_Record_Name("marked.txt"))},
          {"health"},
          {"forecast", Paths.Profile_File("quick_test.txt")}}) {
        std::ostringstream out, err;
        EXPECT_EQ(Run_Log_Tool(command, Paths.Folder().string(), nullptr, out, err), 0)
            << err.str();
        std::vector<Shown_Text> lines;
        std::istringstream said(out.str());
        for (std::string line; std::getline(said, line);) lines.push_back({command[0], line});
        check("corvanel-log", lines);
    }

    std::vector<Shown_Text> asked;
    for (std::size_t q = asked_before; q < Ask.Questions.size(); ++q)
        asked.push_back({"question", Ask.Questions[q]});
    check("message box", asked);
    std::string listed;
    for (const std::string& text : unmarked) listed += "\n  " + text;
    EXPECT_TRUE(unmarked.empty()) << unmarked.size() << " texts unmarked:" << listed;
}

}  // namespace
}  // namespace corvanel::testing
