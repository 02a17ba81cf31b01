# The two commands of the README: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
CTEST_JOBS ?= 2

.PHONY: deps configure build run test bench clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/src/app/rampscope

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(CTEST_JOBS)

bench: build
	$(BUILD)/bench/rampscope-bench
	$(BUILD)/bench/rampscope-video-bench $(BUILD)/bench/videos
	mkdir -p $(BUILD)/bench/captures
	$(BUILD)/bench/rampscope-capture-bench $(BUILD)/src/cli/rampscope-cli $(BUILD)/bench/captures
	$(BUILD)/bench/rampscope-screen-bench

clean:
	rm -rf $(BUILD)
