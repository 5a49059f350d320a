#pragma once

#include "typing/keyboard.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace orvane {

// The focused text box of another program, as its accessibility tells it on
// the desktop's accessibility bus (AT-SPI): the object that last gained the
// focus, followed from the bus's events from the start, and its text read
// when asked. Programs expose their boxes there when accessibility is on
// (GTK always, Qt and Firefox once a screen reader or the setting asks).
class AtspiFocus : public QObject {
    Q_OBJECT

public:
    AtspiFocus();
    ~AtspiFocus() override;
    AtspiFocus(const AtspiFocus&) = delete;
    AtspiFocus& operator=(const AtspiFocus&) = delete;

    // Reads the focused box if it belongs to the process; `done` runs once,
    // on the window's thread.
    void Read(quint32 process, std::function<void(FieldText)> done);
    // Reads the box a reading found, focused or not.
    void ReadAgain(const std::string& field, std::function<void(FieldText)> done);

private:
    Q_SLOT void OnStateChanged(const QDBusMessage& message);
    void Connect(const QString& address);
    void Register(bool withProperties);
    // Asks for the object's text: `done` gets it, or nothing.
    void AskText(const QString& sender, const QString& path,
                 std::function<void(std::optional<QString>)> done);

    const QString name_ = QStringLiteral("orvane-atspi-%1").arg(quintptr(this));
    std::optional<QDBusConnection> bus_;
    QString sender_;                       // the object that last gained the focus: its program's
    QString path_;                         // name on the bus, and its path there
    std::map<QString, quint32> processes_; // of the names on the bus
};

} // namespace orvane
