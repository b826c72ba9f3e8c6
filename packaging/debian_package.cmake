# The Debian package: `cpack -G DEB` in a build folder makes
# trelvik_VERSION_ARCH.deb of everything installed. Its dependencies are the
# shared libraries' packages found by dpkg-shlibdeps, and the Korean font the
# panel is drawn in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Trelvik developers <trelvik-dev@trelvik.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of a food-waste processor's controller firmware")
set(CPACK_PACKAGE_DESCRIPTION
  "The controller program of a household food-waste processor, run on a PC:
the firmware runs in a 1 ms worker thread against simulated port
registers, and a front panel of animated pictures plays the mechanics
back (motors, fans, heater, water valve, buzzer, lamps, cover, drawer).
Clicking the keys, the cover and the drawer plays the appliance's user.
.
The package holds the simulator window (trelvik), the scenario runner
that checks scripted uses in virtual time for continuous integration
(trelvik-scenario), the workbench that shows the panel in virtual time
with the controller's variables, a trace and plant faults
(trelvik-workbench), a plotter of the runner's traces
(trelvik-vcd-plot) and a comparison of two traces (trelvik-vcd-diff).
With it comes the Python module trelvik, which drives the simulated
machine from pytest tests and Hypothesis' stateful testing.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qt6-translations-l10n: Qt's own dialogs and buttons in Korean.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-nanum, qt6-translations-l10n")
# Without it the programs run through XWayland on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# The Python module's interpreter and test tools.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3, python3-pytest, python3-hypothesis")
include(CPack)
