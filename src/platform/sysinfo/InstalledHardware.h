#pragma once

#include <string>
#include <vector>

// A description of each device present, from sysfs and proc under `root`
// ("/" or a fixture tree), in this order: PCI devices (sys/bus/pci), USB
// devices (sys/bus/usb, interfaces left out), block devices with hardware
// behind them (sys/block), input devices (sys/class/input) and sound cards
// (proc/asound/cards). PCI and USB devices are named from the installed
// pci.ids and usb.ids lists (a USB device that is not in them by its own
// strings), and by their numbers where no name is known.
std::vector<std::string> ListInstalledHardware(const std::string& root);
