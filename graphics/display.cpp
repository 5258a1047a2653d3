// The display device.
