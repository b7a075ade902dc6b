// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/qt/qt_serial_device.h"

#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace corvanel {

Qt_Serial_Device::Qt_Serial_Device(Settings_Store& settings, QObject* parent)
    : QObject(parent), Settings_(settings) {
    connect(&Port_, &QSerialPort::readyRead, this, [this] {
        if (Serial_) Serial_->MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
    });
    // A device that went away (an unplugged adapter) is closed, so that sending says
    // the port is not open instead of failing quietly.
    connect(&Port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError && Port_.isOpen()) Port_.close();
    });
}

void Qt_Serial_Device::Set_Settings(const std::string& settings) {
    Line_ = Parse_Line_Settings(settings);
    if (Port_.isOpen()) Apply_Line_Settings();
}

void Qt_Serial_Device::Apply_Line_Settings() {
    // A pseudo-terminal refuses 7 data bits and even parity; only a failure to open
    // counts, so what the device refuses is let go.
    Port_.setBaudRate(Line_.Baud);
    switch (Line_.Parity) {
        case 'E':
            Port_.setParity(QSerialPort::EvenParity);
            break;
        case 'O':
            Port_.setParity(QSerialPort::OddParity);
            break;
        case 'M':
            Port_.setParity(QSerialPort::MarkParity);
            break;
        case 'S':
            Port_.setParity(QSerialPort::SpaceParity);
            break;
        default:
            Port_.setParity(QSerialPort::NoParity);
            break;
    }
    Port_.setDataBits(static_cast<QSerialPort::DataBits>(Line_.Data_Bits));
    Port_.setStopBits(Line_.Stop_Bits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    Port_.setFlowControl(QSerialPort::NoFlowControl);
    Port_.clearError();
}

void Qt_Serial_Device::Set_Port_Open(bool open) {
    if (!open) {
        if (Port_.isOpen()) Port_.close();
        return;
    }
    if (Port_.isOpen()) return;
    Open_Device(Serial_Device_Name(Comm_Port_, Settings_));
}

void Qt_Serial_Device::Reopen() {
    if (Port_.isOpen()) Port_.close();
    if (Reopen_Name_.empty()) {
        Set_Port_Open(true);
    } else {
        Open_Device(Reopen_Name_);
    }
}

void Qt_Serial_Device::Open_Device(const std::string& device) {
    Port_.setPortName(QString::fromStdString(device));
    if (!Port_.open(QIODevice::ReadWrite)) {
        QSerialPort::SerialPortError error = Port_.error();
        Port_.clearError();
        Error_Number number = Error_Number::Device_IO_Error;
        if (error == QSerialPort::DeviceNotFoundError) number = Error_Number::No_Such_Port;
        if (error == QSerialPort::PermissionError) number = Error_Number::Permission_Denied;
        throw Port_Open_Error(number, device,
                              Serial_Port_Details_Shown(Settings_)
                                  ? Port_Open_Advice(device, number)
                                  : std::vector<std::string>{});
    }
    Apply_Line_Settings();
    Reopen_Name_ = Stable_Device_Name(device, Device_Tree{});
}

void Qt_Serial_Device::Output(const std::string& text) {
    if (!Port_.isOpen()) throw Run_Time_Error(Error_Number::Port_Not_Open);
    qint64 written = Port_.write(text.data(), static_cast<qint64>(text.size()));
    if (written != static_cast<qint64>(text.size())) {
        throw Run_Time_Error(Error_Number::Device_IO_Error);
    }
    // Start writing now rather than at the next turn of the event loop.
    Port_.flush();
}

std::string Qt_Serial_Device::Input() {
    QByteArray waiting = Port_.readAll();
    return std::string(waiting.constData(), static_cast<std::size_t>(waiting.size()));
}

void Qt_Reply_Waiter::Wait(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::lround(seconds * 1000)), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}

}  // namespace corvanel
