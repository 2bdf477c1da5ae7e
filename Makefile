# Thin wrappers: each target installs what is missing, then drives CMake.
# A fresh build folder is configured for the program and its plug-in only;
# `make test` adds the tests and benchmarks to it.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all build run test test-debian13 bench deps test-deps format clean install uninstall deb deb-debian13 desktops translations

all: build

# What building and running need; test-deps adds what the tests need.
deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps test

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTALLYGLOW_BUILD_TESTS=OFF -DTALLYGLOW_BUILD_BENCHMARKS=OFF $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

# The program (with its plug-in) and nothing else, even in a build folder
# that `make test` configured. In your desktop session; with none, in a
# headless panel (scripts/run-tallyglow).
run: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) --target tallyglow
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then scripts/install-deps headless; fi
	scripts/run-tallyglow $(BUILD_DIR)/tallyglow

test: CMAKE_FLAGS += -DTALLYGLOW_WARNINGS_AS_ERRORS=ON
test: test-deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTALLYGLOW_BUILD_TESTS=ON -DTALLYGLOW_BUILD_BENCHMARKS=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)
	cd $(BUILD_DIR) && ctest --output-on-failure

# make test on a fresh clone of HEAD in a Debian 13 root kept in
# /var/cache/tallyglow/debian13 (made with mmdebstrap the first time). As root;
# not part of test.
test-debian13:
	scripts/in-debian13 test

bench: test-deps
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYGLOW_BUILD_TESTS=OFF \
		-DTALLYGLOW_BUILD_BENCHMARKS=ON
	cmake --build $(BUILD_DIR)-bench
	$(BUILD_DIR)-bench/bench/tallyglow-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	bench/panel-idle $(BUILD_DIR)-bench

# `sudo make install`; PREFIX and DESTDIR as usual. The list of installed
# files is kept for `make uninstall` in a file of our own: CMake's
# install_manifest.txt leaves out DESTDIR, and every later install (the tests
# stage some) writes over it.
# The build is configured again only for another prefix, and the manifest
# goes, so that a build folder that is yours stays writable by you after sudo.
install: deps $(BUILD_DIR)/build.ninja
	grep -qx 'CMAKE_INSTALL_PREFIX:PATH=$(PREFIX)' $(BUILD_DIR)/CMakeCache.txt || \
		cmake -S . -B $(BUILD_DIR) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD_DIR) --target tallyglow tallyglow-screen-cast plasmoid-translations
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR)
	sed 's|^|$(DESTDIR)|' $(BUILD_DIR)/install_manifest.txt > $(BUILD_DIR)/installed-files.txt
	rm $(BUILD_DIR)/install_manifest.txt

uninstall:
	@test -f $(BUILD_DIR)/installed-files.txt || { echo "uninstall: nothing installed from $(BUILD_DIR)"; exit 1; }
	xargs -d '\n' rm -f < $(BUILD_DIR)/installed-files.txt
	@# The private folders go too, once empty.
	sed -n 's:/tallyglow/tallyglow-screen-cast\.so$$:/tallyglow:p; s:/tallyglow/icons/tallyglow\.svg$$:/tallyglow:p; s:/contents/ui/main\.qml$$::p' \
		$(BUILD_DIR)/installed-files.txt | \
		xargs -r -d '\n' -I{} find {} -depth -type d -empty -delete
	rm $(BUILD_DIR)/installed-files.txt

# A Debian package, built with debhelper from a copy of the source, into dist/.
deb:
	@scripts/install-deps deb
	rm -rf $(BUILD_DIR)/deb && mkdir -p $(BUILD_DIR)/deb/tallyglow dist
	git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t $(BUILD_DIR)/deb/tallyglow
	cd $(BUILD_DIR)/deb/tallyglow && DEB_BUILD_OPTIONS="noddebs nocheck" dpkg-buildpackage -b -us -uc
	mv $(BUILD_DIR)/deb/tallyglow_*.deb dist/
	lintian --fail-on error dist/tallyglow_*.deb

# The package for Debian 13, built in that root, into dist/debian13/.
deb-debian13:
	scripts/in-debian13 deb

# Tallyglow in real panels (GNOME, MATE, XFCE, LXQt, Plasma, Cinnamon, Budgie
# on X11, and Tallyglow's Plasma 5 widget; sway with waybar and GNOME on
# Wayland, with real screen casts),
# headless. Writes the summary (a row and a section a host, one picture each)
# to docs/desktops/, and every screenshot with the full sections to
# build/desktops/, which git ignores. Slow, and installs every panel: not part
# of test. With DEBIAN=13, the same in the Debian 13 root of test-debian13,
# with its panels: docs/desktops/debian13/ and build/debian13-desktops/.
# HOSTS="lxqt x11-browser-share", say, runs only the hosts and checks it
# names; with no HOSTS, everything runs.
run_check = $(if $(HOSTS),$(filter $(1),$(HOSTS)),$(1))
ifeq ($(DEBIAN),13)
# Then Tallyglow's Plasma 6 widget in Plasma 6.3's panel, in a root of its own.
debian13_hosts := $(filter-out plasma6-widget,$(HOSTS))
desktops:
	status=0; \
	$(if $(if $(HOSTS),$(debian13_hosts),everything),scripts/in-debian13 desktops \
		DESKTOPS_DOCS=docs/desktops/debian13 HOSTS="$(debian13_hosts)" \
		WAYLAND_STARTS=$(or $(WAYLAND_STARTS),3) || status=$$?;) \
	$(if $(call run_check,plasma6-widget),tests/desktops/plasma6-widget $(or $(WIDGET_STARTS),3) \
		build/debian13-desktops || status=$$?;) \
	exit $$status
else
DESKTOPS_DOCS ?= docs/desktops
DESKTOPS_RESULTS ?= build/desktops
WAYLAND_STARTS ?= 3
# The checks beside the panel hosts.
CHECKS := sway-waybar gnome-wayland no-panel-starts plasma5-widget x11-browser-share
panel_hosts := $(filter-out $(CHECKS),$(HOSTS))
desktops: build
	@tests/desktops/install-hosts
	@scripts/install-deps test desktops
	if [ -z "$(HOSTS)" ] || [ -n "$(panel_hosts)" ]; then \
		DESKTOPS_DOCS=$(DESKTOPS_DOCS) DESKTOPS_RESULTS=$(DESKTOPS_RESULTS) \
			tests/desktops/run $(BUILD_DIR)/tallyglow $(panel_hosts); \
	fi
	@# Each Wayland check runs WAYLAND_STARTS sessions, even when one failed.
	status=0; \
	for check in $(call run_check,sway-waybar) $(call run_check,gnome-wayland); do \
		rm -f $(DESKTOPS_DOCS)/rows/wayland-$${check%-*}.sessions; \
		for start in $$(seq $(WAYLAND_STARTS)); do \
			tests/desktops/$$check $(BUILD_DIR)/tallyglow $(DESKTOPS_RESULTS) $(DESKTOPS_DOCS) || status=$$?; \
		done; \
	done; \
	$(if $(call run_check,no-panel-starts),tests/desktops/no-panel-starts $(BUILD_DIR)/tallyglow || status=$$?;) \
	$(if $(call run_check,plasma5-widget),tests/desktops/plasma5-widget $(BUILD_DIR) \
		$(or $(WIDGET_STARTS),3) $(DESKTOPS_RESULTS) $(DESKTOPS_DOCS) || status=$$?;) \
	$(if $(call run_check,x11-browser-share),for host in openbox cinnamon xfce; do \
		for browser in chromium firefox-esr; do \
			tests/desktops/x11-browser-share $(BUILD_DIR)/tallyglow --browser $$browser --host $$host \
				--starts $(or $(SHARE_STARTS),5) \
				--log $(DESKTOPS_DOCS)/x11-browser-share-$$browser-$$host.txt \
				--rows $(DESKTOPS_DOCS)/rows || status=$$?; \
		done; \
		tests/desktops/x11-browser-share $(BUILD_DIR)/tallyglow --reader ffmpeg --host $$host \
			--starts $(or $(SHARE_STARTS),5) \
			--log $(DESKTOPS_DOCS)/x11-screen-read-ffmpeg-$$host.txt || status=$$?; \
	done;) \
	DESKTOPS_DOCS=$(DESKTOPS_DOCS) DESKTOPS_RESULTS=$(DESKTOPS_RESULTS) tests/desktops/run --write-readme; \
	echo "desktops: the summary in $(DESKTOPS_DOCS)/README.md; every screenshot in $(DESKTOPS_RESULTS)/README.md"; \
	exit $$status
endif

# Brings translations/*.ts up to date with the texts in the code (lupdate):
# new texts come in unfinished, texts gone from the code go. Commit the result;
# translators (and Weblate) work on those files.
translations: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) --target update_translations

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
