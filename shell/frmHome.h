#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class QCalendarWidget;
class QFrame;
class QLabel;

namespace ui {
class ListView;
}

// "Home Page": the dashboard the main window opens at start-up and from View > Home. Five read-only
// lists (recent contacts, open projects, open to-dos, free notes, coming appointments) and a month
// calendar; a click on a row opens that record, a click on a date the day view.
class frmHome : public QWidget {
    Q_OBJECT

public:
    explicit frmHome(QWidget* parent = nullptr);
    ~frmHome() override;

    // The screen registry's opener: makes the screen, loads it and shows it in the main window.
    static QWidget* Open();

    void Form_Load();

    // The public loaders. LoadContactInfo and LoadProjects add to their lists (only the load calls
    // them, on empty lists); the other three empty and refill theirs, and the item dialogs call them
    // by name after a save or delete while the active-screen code is "Home".
    Q_INVOKABLE void LoadContactInfo();
    Q_INVOKABLE void LoadProjects();
    Q_INVOKABLE void LoadToDo();
    Q_INVOKABLE void LoadNotes();
    Q_INVOKABLE void LoadAppts();

    ui::ListView* lvRecNames = nullptr;
    ui::ListView* lvProjects = nullptr;
    ui::ListView* lvToDo = nullptr;
    ui::ListView* lvNotes = nullptr;
    ui::ListView* lvAppts = nullptr;
    QCalendarWidget* CalMain = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildBanner();
    void BuildLists();
    void Form_Resize();

    void CalMain_DateClick(const QDate& date);
    void lvRecNames_Click();
    void lvProjects_Click();
    void lvToDo_Click();
    void lvNotes_Click();
    void lvAppts_Click();
    // The work every list click shares: the record number of the selected row handed to `open`, or
    // the "nothing to select" message when no row is selected.
    void ListClick(ui::ListView& list, const QString& procName, const QString& action,
                   const std::function<void(int32_t)>& open);

    QWidget* picBanner = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblBanner = nullptr;
    QLabel* lblRecNames = nullptr;
    QLabel* lblRecNameHdr = nullptr;
    QFrame* shpRecNames = nullptr;
    QLabel* lblProjects = nullptr;
    QFrame* shpProjects = nullptr;
    QLabel* lblToDo = nullptr;
    QLabel* lblToDoSubjHdr = nullptr;
    QLabel* lblToDoDueHdr = nullptr;
    QFrame* shpToDo = nullptr;
    QLabel* lblNotes = nullptr;
    QFrame* shpNotes = nullptr;
    QWidget* picCal = nullptr;
    QLabel* lblAppts = nullptr;
    QLabel* lblApptsHdr = nullptr;
    QFrame* shpAppts = nullptr;
    QWidget* picGrdClr = nullptr;
};
