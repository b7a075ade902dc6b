// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "common/platform.h"

// Platform stand-ins for window models under test: the dialog answers from a queue of
// prepared answers (cancel when it runs dry) and remembers what it was asked.
class Fake_File_Dialog : public corvanel::File_Dialog {
  public:
    std::deque<corvanel::File_Dialog_Result> Answers;
    std::vector<corvanel::File_Dialog_Request> Open_Requests, Save_Requests;

    corvanel::File_Dialog_Result Show_Open(const corvanel::File_Dialog_Request& request) override {
        Open_Requests.push_back(request);
        return Next();
    }
    corvanel::File_Dialog_Result Show_Save(const corvanel::File_Dialog_Request& request) override {
        Save_Requests.push_back(request);
        return Next();
    }

  private:
    corvanel::File_Dialog_Result Next() {
        if (Answers.empty()) return corvanel::File_Dialog_Result::Cancelled();
        corvanel::File_Dialog_Result answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

class Fake_Message_Box : public corvanel::Message_Box {
  public:
    bool Answer_OK = true;
    std::vector<std::string> Questions;
    bool Ask_OK_Cancel(const std::string& text) override {
        Questions.push_back(text);
        return Answer_OK;
    }
};

// A message area (the main window's as the link sees it, or a window's) keeping its lines.
struct Recorded_Messages : corvanel::Message_Area {
    std::vector<std::string> Lines;
    void Display(const std::string& text) override { Lines.push_back(text); }
    void Clear() override { Lines.clear(); }
};

class Counting_Beeper : public corvanel::Beeper {
  public:
    int Beeps = 0;
    void Beep() override { ++Beeps; }
};
