#pragma once
// The About box: the program's title, version, a short description and who made it.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace masumemo::launcher {

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    /// The description exactly as it is shown; its run of spaces pushes the sentence onto the
    /// second line.
    static const QString kDescription;

private:
    void buildControls();
    void Form_Load();

    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
};

}  // namespace masumemo::launcher
