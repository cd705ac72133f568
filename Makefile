# Two commands do everything on a fresh Debian machine:
#   make run    installs what is missing, builds and starts Quillet
#               (make run-brisvane, or make run PROGRAM=brisvane, starts Brisvane)
#   make test   installs what is missing, builds and runs every test headless
# and, optionally, make install [PREFIX=...] puts the programs on the desktop
# and make package builds the Debian package brisvane-quillet_*.deb here.
BUILD ?= build
PACKAGE_BUILD ?= build-package
JOBS  ?= $(shell nproc)

PREFIX ?= /usr/local
PROGRAM ?= quillet

.PHONY: setup configure build run run-quillet run-brisvane test install package fuzz bench clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/$(PROGRAM) $(ARGS)

run-quillet run-brisvane: build
	@./$(BUILD)/$(@:run-%=%) $(ARGS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@bash scripts/fuzz.sh

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# A Release build with Debian's hardening flags, packaged by CPack.
package: setup
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLOGO_BUILD_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -f $(PACKAGE_BUILD)/brisvane-quillet_*.deb
	@cd $(PACKAGE_BUILD) && cpack -G DEB >/dev/null
	@mv $(PACKAGE_BUILD)/brisvane-quillet_*.deb .
	@ls brisvane-quillet_*.deb

fuzz: setup
	@bash scripts/fuzz.sh

bench: build
	@for b in $(BUILD)/tests/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) $(PACKAGE_BUILD) build-fuzz
