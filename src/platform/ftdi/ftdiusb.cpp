// The build with libftdi1.
#include "platform/ftdi/ftdiusb.h"

#include <ftdi.h>

#include "platform/ftdi/libftditransport.h"

namespace qm {

bool ftdiavailable() { return true; }

std::unique_ptr<FtdiTransport> makeftditransport(Clock& clock) {
    return std::make_unique<LibFtdiTransport>(clock);
}

bool listftdidevices(std::vector<FtdiDevice>& devices, std::string& error) {
    devices.clear();
    ftdi_context* ctx = ftdi_new();
    if (ctx == nullptr) {
        error = "libftdi cannot start";
        return false;
    }
    ftdi_device_list* list = nullptr;
    const int found = ftdi_usb_find_all(ctx, &list, kFtdiVendor, kFt232rProduct);
    if (found < 0) {
        error =
            std::string("the USB buses cannot be searched (") + ftdi_get_error_string(ctx) + ")";
        ftdi_free(ctx);
        return false;
    }
    for (ftdi_device_list* at = list; at != nullptr; at = at->next) {
        char manufacturer[128] = "";
        char description[128] = "";
        char serial[128] = "";
        FtdiDevice device;
        // Without access to the device its strings cannot be read; it is listed all the same.
        if (ftdi_usb_get_strings(ctx, at->dev, manufacturer, sizeof manufacturer, description,
                                 sizeof description, serial, sizeof serial) == 0) {
            device.manufacturer = manufacturer;
            device.description = description;
            device.serial = serial;
        }
        devices.push_back(device);
    }
    ftdi_list_free(&list);
    ftdi_free(ctx);
    return true;
}

}  // namespace qm
