#pragma once

#include <QObject>
#include <QString>
#include <optional>

class AppLog;
class QLabel;
class QTreeWidget;
class QWidget;
struct NotesContent;
struct SessionData;

// The session's notes list and its session information list, filled from the notes document.
class NotesPanel : public QObject {
  public:
    NotesPanel(QWidget* window, AppLog& log);

    // The lists' designed columns.
    void addColumns();
    // The start and end texts of a notes document.
    struct Times {
        QString started, finished;
    };
    // Fills ListNotes and the information list from the session's notes document. Without a usable
    // document (none, or damaged: logged) the information list gets the session's own rows and the
    // notes stay as they were. Returns the document's start and end texts when it was read.
    std::optional<Times> LoadXML(const SessionData& session, QTreeWidget* ListNotes);

    QTreeWidget* notesList() const { return lvNotes; }
    int noteCount() const;
    // The first-column text of the selected note; empty when no note is selected.
    std::optional<QString> selectedNoteTime() const;

  private:
    void InitMetaData(const SessionData& session, const NotesContent* content);

    AppLog& m_log;
    QLabel* Label1 = nullptr;
    QTreeWidget* lvData = nullptr;
    QTreeWidget* lvNotes = nullptr;
};
