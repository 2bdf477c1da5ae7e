# Thin wrappers: each target installs what is missing, then drives CMake.
BUILD_DIR ?= build
CMAKE_FLAGS ?=

.PHONY: all build run test bench deps format clean desktops

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

# In your desktop session; with none, in a headless panel (scripts/run-tallyglow).
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then scripts/install-deps run; fi
	scripts/run-tallyglow $(BUILD_DIR)/tallyglow

test: CMAKE_FLAGS += -DTALLYGLOW_WARNINGS_AS_ERRORS=ON
test: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)
	cd $(BUILD_DIR) && ctest --output-on-failure

bench: deps
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYGLOW_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR)-bench
	$(BUILD_DIR)-bench/bench/tallyglow-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	bench/panel-idle $(BUILD_DIR)-bench

# Tallyglow in real panels (GNOME, MATE, XFCE, LXQt, Plasma, Cinnamon, Budgie),
# headless; writes docs/desktops/. Slow, and installs every panel: not part of test.
desktops: build
	@tests/desktops/install-hosts
	tests/desktops/run $(BUILD_DIR)/tallyglow $(HOSTS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
