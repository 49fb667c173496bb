# make run   builds the bar and starts it from its portable folder
# make test  builds everything and runs every test
# make install [PREFIX=~/.local] [AUTOSTART=1]   installs the bar (no root needed)
# make uninstall [PREFIX=~/.local]               removes it, keeping config/
# make package  builds $(PACKAGE_BUILD)/skylane_<version>_<arch>.deb, the bar
#               installed under /usr for every user of the machine
# make windows  cross-builds build-windows/SkyLane/ (skylane.exe and what it
#               needs), build-windows/SkyLane-win64.zip of it and its
#               installer, build-windows/SkyLane-<version>-setup.exe
# make bench    start-up, memory and idle CPU of the bar against a bare Qt
#               window with one label (bench/startup_vs_label.py); run it with
#               nothing else open that maps Qt
BUILD ?= build
PREFIX ?= $(HOME)/.local
AUTOSTART ?= 0
WERROR ?= $(if $(CI),ON,OFF)
CMAKE_FLAGS ?=

PACKAGE_BUILD ?= build-package
WINDOWS_BUILD ?= build-windows
QT_WINDOWS ?=

.PHONY: run test build install uninstall package windows bench deps-run deps-test clean

run: deps-run
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target skylane
	./$(BUILD)/SkyLane/skylane

test: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD)
	cd $(BUILD) && ctest --output-on-failure --timeout 600

install: deps-run
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) -DCMAKE_INSTALL_PREFIX="$(PREFIX)" $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target skylane
	cmake --install $(BUILD)
	$(if $(filter 1 yes on ON true,$(AUTOSTART)),cmake --install $(BUILD) --component autostart)

package:
	@scripts/deps.sh package
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  -DSKYLANE_TESTS=OFF -DSKYLANE_BENCH=OFF -DSKYLANE_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# The artwork renderer and the icon packer run on this machine: built in
# $(WINDOWS_BUILD)/host (the renderer against the host Qt), then handed to
# the cross build.
windows:
	@scripts/deps.sh windows
	cmake -S . -B $(WINDOWS_BUILD)/host -G Ninja -DSKYLANE_TESTS=OFF -DSKYLANE_BENCH=OFF
	cmake --build $(WINDOWS_BUILD)/host --target render_artwork pack_icon
	qt=$$(scripts/qt-windows.sh $(QT_WINDOWS)) && \
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_PREFIX_PATH="$$qt" -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=Release \
	  -DSKYLANE_WERROR=$(WERROR) -DSKYLANE_RENDER_ARTWORK=$(abspath $(WINDOWS_BUILD))/host/src/artwork/render_artwork \
	  -DSKYLANE_PACK_ICON=$(abspath $(WINDOWS_BUILD))/host/src/platform/win32/pack_icon
	cmake --build $(WINDOWS_BUILD)

bench: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) -DSKYLANE_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target skylane bare_window
	/usr/bin/python3 bench/startup_vs_label.py --build $(BUILD)

uninstall:
	cmake -DPREFIX="$(PREFIX)" -P src/install/Uninstall.cmake

deps-run:
	@scripts/deps.sh run

deps-test:
	@scripts/deps.sh test

clean:
	rm -rf $(BUILD) $(PACKAGE_BUILD)
