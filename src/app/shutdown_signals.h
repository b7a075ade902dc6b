// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace corvanel {

// SIGTERM (a shutdown, a plain `kill`), SIGHUP (the terminal or the session gone) and
// SIGINT, heard on the event loop: the signal handler only writes a byte to a pipe, and
// `heard` runs with the signal's number once the loop reads it. The default handlers come
// back when this goes.
class Shutdown_Signals : public QObject {
  public:
    explicit Shutdown_Signals(std::function<void(int)> heard, QObject* parent = nullptr);
    ~Shutdown_Signals() override;

  private:
    std::function<void(int)> Heard_;
    QSocketNotifier* Notifier_ = nullptr;
};

}  // namespace corvanel
