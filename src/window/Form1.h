#pragma once

#include "HandlerGuard.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class Desktop;
class FileListBox;
class FileSystem;
class Form2;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class SessionScrollBar;
class StationCalls;
class TextBox;

constexpr int StationCount = 14;

// The invigilator's main window. It holds the controls, under the names of the
// window's design; the application connects their events to the handlers.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    Form1(FileSystem& fileSystem, StationCalls& stationCalls, Desktop& desktop, QWidget* parent = nullptr);
    ~Form1() override;

    // The tip of a station's path, before anything is known of the station.
    static QString stationPathTip() { return QStringLiteral("Pasta de exame no PC do aluno"); }

    FileSystem& fileSystem() { return m_fileSystem; }
    StationCalls& stationCalls() { return m_stationCalls; }
    Desktop& desktop() { return m_desktop; }
    HandlerGuard& guard() { return m_guard; }

    // Filled at start-up from the station list file, never changed afterwards.
    QString BaseRecolha;
    QString PathBackup;

    // Station rows.
    std::array<QPushButton*, StationCount> ComOpenShare{};
    std::array<TextBox*, StationCount> PC1Path{};
    std::array<FileListBox*, StationCount> File1{};
    std::array<TextBox*, StationCount> Hora{};
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;

    // Session and collection column.
    QLabel* Label1 = nullptr;
    SessionScrollBar* VScrollSessao = nullptr;
    TextBox* NumSessao = nullptr;
    QLabel* Label3 = nullptr;
    TextBox* PathRecolha = nullptr;
    QPushButton* CommandAbrePastaRecolha = nullptr;
    FileListBox* File2 = nullptr;
    QLabel* Label8 = nullptr;
    TextBox* Professor = nullptr;
    TextBox* Laboratorio = nullptr;

    // Bottom bar.
    QLabel* Label4 = nullptr;
    TextBox* NumPCs = nullptr;
    QLabel* Label2 = nullptr;
    std::array<TextBox*, 1> Filtro{};
    QCheckBox* Checksubfolders = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* ComClose = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* CommandRefresh = nullptr;
    QPushButton* CommandRecolhe = nullptr;
    QPushButton* CommandApaga = nullptr;

    QTimer* Timer1 = nullptr;

    // Runs an event's handler unless another one is running or the window is unloaded.
    void runHandler(const std::function<void()>& handler);

    // The one information window, created when first needed, owned by this window.
    Form2& informationWindow();
    bool isUnloaded() const { return m_unloaded; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createStationRows();
    void createSessionColumn();
    void createBottomBar();
    void setTabOrder();

    FileSystem& m_fileSystem;
    StationCalls& m_stationCalls;
    Desktop& m_desktop;
    HandlerGuard m_guard;
    bool m_unloaded = false;
    std::unique_ptr<Form2> m_informationWindow;
};
