// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds/subscribesteps.h"

namespace kelsing {

const std::array<SubscribeStep, 3>& subscribeSteps() {
    static constexpr std::array<SubscribeStep, 3> kSteps = {{
        {"Android",
         "install ICSx\u2075, then scan the QR code and open the address with it, or paste the "
         "address into it; or add the address in Google Calendar on the web under Other "
         "calendars, From URL."},
        {"iPhone", "scan the QR code with the Camera and tap Subscribe; or paste the address under "
                   "Settings, Calendar, Accounts, Add Account, Other, Add Subscribed Calendar."},
        {"Desktop",
         "in Evolution, GNOME Calendar, Thunderbird or KOrganizer, add a new calendar on the web "
         "(on the network) and paste the address."},
    }};
    return kSteps;
}

} // namespace kelsing
