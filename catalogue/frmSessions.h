#pragma once

#include "CatalogueLink.h"
#include "CatalogueServices.h"
#include "SessionData.h"
#include "frmMain.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class QLabel;
class QTreeWidget;

// The catalogue window: the start-up window that lists the sessions of the disc and hands the
// chosen one to the player window.
class frmSessions : public QWidget, public CatalogueLink {
    Q_OBJECT
  public:
    explicit frmSessions(CatalogueServices services, QWidget* parent = nullptr);
    ~frmSessions() override;

    // Start-up; an error it raises comes from the checks before the window can show.
    void Form_Load();
    void Form_Unload();
    void lvSessions_DblClick();
    void Rescan();

    // Runs Form_Unload once and ends the program's event loop.
    void unload() override;
    bool isUnloaded() const { return m_unloading; }
    void showAgain() override;

    int rowCount() const;
    // The catalogue array, one record per media file in scan order (row i shows record i).
    const QVector<SessionData>& sessions() const { return Sessions; }
    // The player window loaded by start-up (null once it is gone).
    frmMain* playerWindow() const { return m_main.data(); }
    bool isHandingOff() const { return m_handingOff; }

    // Column widths in twips, as designed; also the list's own column positions.
    static constexpr int ColumnCount = 7;
    static const int ColumnWidthTwips[ColumnCount];
    enum Column { ColLocation, ColDate, ColStartTime, ColChannels, ColVideo, ColFilename, ColNotes };

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLayout();
    void addColumns();
    PlayerServices playerServices();
    frmMain* loadedPlayerWindow();
    // The hand-off of one row to the player window.
    void handOff(int row);
    void onDoubleClick();
    // The player window opens centred on the catalogue, kept on the screen.
    void centreOnCatalogue(QWidget* window) const;

    CatalogueServices m_services;
    QVector<SessionData> Sessions;
    QTreeWidget* lvSessions = nullptr;
    QPointer<frmMain> m_main;
    bool m_ready = false; // Form_Load has got past its checks
    bool m_unloading = false;
    bool m_handingOff = false;
};
