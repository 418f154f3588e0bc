#include "connection/SystemPorts.h"

#include "app/Errors.h"

#include <libserialport.h>

#include <memory>

namespace connection {
namespace {

QString Text(const char* s) { return s ? QString::fromUtf8(s) : QString(); }

struct PortListDeleter {
  void operator()(sp_port** list) const { sp_free_port_list(list); }
};

}  // namespace

QString EnumerationErrorText(int spResult, int systemError) {
  const QString head = QStringLiteral("Error receiving serial port list.  ");
  // Only a failed system call leaves an error number worth showing.
  if (spResult == SP_ERR_FAIL && systemError != 0)
    return head + QStringLiteral("Error# %1.").arg(systemError);
  return head + QStringLiteral("Error is unknown.");
}

std::vector<SystemPort> ListSystemPorts() {
  sp_port** raw = nullptr;
  const sp_return result = sp_list_ports(&raw);
  if (result != SP_OK) {
    const int systemError = result == SP_ERR_FAIL ? sp_last_error_code() : 0;
    throw ScopeError(EnumerationErrorText(result, systemError));
  }
  const std::unique_ptr<sp_port*, PortListDeleter> list(raw);

  std::vector<SystemPort> ports;
  for (sp_port** p = list.get(); *p != nullptr; ++p) {
    SystemPort port;
    port.name = Text(sp_get_port_name(*p));
    if (port.name.isEmpty()) continue;
    const QString systemDescription = Text(sp_get_port_description(*p));
    port.usb = sp_get_port_transport(*p) == SP_TRANSPORT_USB;
    port.description = port.usb ? UsbDescription(Text(sp_get_port_usb_product(*p)),
                                                 Text(sp_get_port_usb_manufacturer(*p)),
                                                 systemDescription)
                                : systemDescription;
    ports.push_back(port);
  }
  return ports;
}

}  // namespace connection
