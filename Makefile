# make run   builds the bar and starts it from its portable folder
# make test  builds everything and runs every test
BUILD ?= build
WERROR ?= $(if $(CI),ON,OFF)
CMAKE_FLAGS ?=

.PHONY: run test build deps-run deps-test clean

run: deps-run
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target skylane
	./$(BUILD)/SkyLane/skylane

test: deps-test
	cmake -S . -B $(BUILD) -G Ninja -DSKYLANE_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD)
	cd $(BUILD) && ctest --output-on-failure --timeout 600

deps-run:
	@scripts/deps.sh run

deps-test:
	@scripts/deps.sh test

clean:
	rm -rf $(BUILD)
