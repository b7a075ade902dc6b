#include "controller/front_panel_model.h"

#include "common/text.h"
#include "controller/serial_link.h"

namespace corvanel {

void FrontPanel::Display(const std::string& text) {
    Append_Message(User_Interface, text);
}

void FrontPanel::Decrement_Unit_Addr_Click() {
    User_Interface.clear();
    if (Unit_Address > Min_Unit_Address) {
        --Unit_Address;
        Unit_Address_Display = Format_Whole(Unit_Address);
    }
}

void FrontPanel::Increment_Unit_Addr_Click() {
    User_Interface.clear();
    if (Unit_Address < Max_Unit_Address) {
        ++Unit_Address;
        Unit_Address_Display = Format_Whole(Unit_Address);
    }
}

void FrontPanel::Response_Box_KeyPress(char key) {
    Typed_Line += key;
    Response_Box += key;
    if (key == '\r') {
        if (Link) Link->Transmit(Typed_Line);
        Typed_Line.clear();
    }
}

}  // namespace corvanel
