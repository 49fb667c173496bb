# make run   builds the bar and starts it from its portable folder
# make test  builds everything and runs every test
# make install [PREFIX=~/.local] [AUTOSTART=1]   installs the bar (no root needed)
# make uninstall [PREFIX=~/.local]               removes it, keeping config/
BUILD ?= build
PREFIX ?= $(HOME)/.local
AUTOSTART ?= 0
WERROR ?= $(if $(CI),ON,OFF)
CMAKE_FLAGS ?=

.PHONY: run test build install uninstall deps-run deps-test clean

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

uninstall:
	cmake -DPREFIX="$(PREFIX)" -P src/install/Uninstall.cmake

deps-run:
	@scripts/deps.sh run

deps-test:
	@scripts/deps.sh test

clean:
	rm -rf $(BUILD)
