# The two commands a newcomer needs: `make run` and `make test`. Both install what is
# missing first (Debian packages), then configure and build with Ninja.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-sanitize fuzz bench screenshot clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display to show Tarnwick on: run 'xvfb-run make run', or start it from a desktop session."; \
	  exit 1; \
	fi
	$(BUILD)/bin/tarnwick

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

# The highlighters' fuzz targets (clang's libFuzzer), FUZZ_SECONDS each.
fuzz: deps
	fuzz/run.sh

bench: build
	bench/run.sh $(BUILD)

screenshot: build
	$(BUILD)/tools/tarnwick_screenshot docs/main-window.png docs/editor-html.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
