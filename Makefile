# make run   – install dependencies, build, install into $(PREFIX) and start
# make test  – install dependencies, build and run every test
# make bench – timings with full log files; fails when a figure misses its budget
PREFIX ?= $(HOME)/Kescherheft
BUILD  ?= build
JOBS   ?= 2

.PHONY: deps build install run test bench clean

deps:
	./scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j$(JOBS)

install: build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

run: install
	cd "$(PREFIX)" && ./kescherheft

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench:
	./scripts/install-deps --bench
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESCHERHEFT_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target kescherheft_bench kescherheft_bench_app kescherheft_bench_start
	cd $(BUILD) && ./bench/kescherheft_bench
	cd $(BUILD) && ./bench/kescherheft_bench_app

clean:
	rm -rf $(BUILD)
