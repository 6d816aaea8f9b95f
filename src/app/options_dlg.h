#pragma once

#include <QDialog>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace platform {
enum class Setting;
enum class RenamePreset;
struct OptionValues;
}  // namespace platform

// The settings dialog. Its state is its controls: they are filled from the
// profile when the dialog is constructed, OK writes every setting back,
// Cancel and the close box write nothing. Every control's objectName is its
// id, so the rest of the program finds it by number.
class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId : int {
        IDC_DELFRONT = 1001,
        IDC_DELCOPY = 1002,
        IDC_SETORIG = 1003,
        IDC_DELBACK = 1004,
        IDC_SETID3 = 1005,
        IDC_SETID3V2 = 1006,
        IDC_CHKALL = 1011,
        IDC_FORCEGET = 1012,
        IDC_RENAME = 1021,
        IDC_TYP_M = 1022,
        IDC_TYP_B = 1023,
        IDC_TYP_SELF = 1024,
        IDC_PATTERN = 1025,
        IDC_CNVUML = 1026,
        IDC_CNVAMP = 1027,
        IDC_CNVSONDER = 1028,
        IDC_CNVSPACE = 1029,
        IDC_KEEPORIG = 1031,
        IDC_KEEPDAYS = 1032,
    };

    explicit COptionsDlg(QWidget* parent = nullptr);

    // OnOK: writes the settings in the order of the settings table, then closes.
    void accept() override;

private:
    // A pattern that cannot make plain file names is told and not taken.
    bool patternRefused();
    void createControls();
    void OnInitDialog();

    // The rule of a clicked box, applied to what the boxes show.
    void followClick(platform::Setting clicked);
    void OnRename();
    void OnTypM();
    void OnTypB();
    void OnTypSelf();
    void OnKeepOrig();

    void showPreset(platform::RenamePreset preset);
    platform::OptionValues shownValues() const;
    void showSwitches(const platform::OptionValues& values);
    void enableRenamingControls(bool enable);
    void connectClick(QAbstractButton* button, void (COptionsDlg::*rule)());
    int typMbx() const;

    // The check box of an on/off setting.
    QCheckBox* box(platform::Setting setting) const;

    QCheckBox* m_delFront = nullptr;
    QCheckBox* m_delCopy = nullptr;
    QCheckBox* m_setOrig = nullptr;
    QCheckBox* m_delBack = nullptr;
    QCheckBox* m_setID3 = nullptr;
    QCheckBox* m_setID3V2 = nullptr;
    QCheckBox* m_chkAll = nullptr;
    QCheckBox* m_forceGet = nullptr;
    QCheckBox* m_rename = nullptr;
    QRadioButton* m_typM = nullptr;
    QRadioButton* m_typB = nullptr;
    QRadioButton* m_typSelf = nullptr;
    QLineEdit* m_pattern = nullptr;
    QCheckBox* m_cnvUml = nullptr;
    QCheckBox* m_cnvAmp = nullptr;
    QCheckBox* m_cnvSonder = nullptr;
    QCheckBox* m_cnvSpace = nullptr;
    QCheckBox* m_keepOrig = nullptr;
    QSpinBox* m_keepDays = nullptr;
};
