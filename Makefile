# Two commands do everything on a fresh Debian machine:
#   make run    installs what is missing, builds and starts Quillet
#   make test   installs what is missing, builds and runs every test headless
# and, optionally, make install [PREFIX=...] puts the programs on the desktop.
BUILD ?= build
JOBS  ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: setup configure build run test install fuzz bench clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./$(BUILD)/quillet $(ARGS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@bash scripts/fuzz.sh

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

fuzz: setup
	@bash scripts/fuzz.sh

bench: build
	@for b in $(BUILD)/tests/bench_*; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD) build-fuzz
