# Two entry points: `make run` starts the program, `make test` builds and runs every test.
BUILD ?= build
JOBS ?= 2

.PHONY: all bootstrap configure build run test bench fuzz fuzz-run qgis-plugin clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/vantrel

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	$(BUILD)/bench/vantrel_bench
	$(BUILD)/bench/vantrel_files_bench

# The fuzz targets need clang's libFuzzer, which bootstrap installs for them.
fuzz:
	@scripts/bootstrap fuzz
	@if command -v clang++ >/dev/null; then \
		cmake -S . -B $(BUILD)-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
			-DVANTREL_FUZZ=ON >/dev/null && cmake --build $(BUILD)-fuzz -j$(JOBS); \
	else \
		echo "fuzz: clang++ is not installed, so the fuzz targets are not built"; \
	fi

# Each fuzz target for RUNS inputs (a million unless given), one after another.
RUNS ?= 1000000
fuzz-run: fuzz
	for target in lines image_open project_open; do \
		BUILD_FUZZ=$(CURDIR)/$(BUILD)-fuzz fuzz/run $$target $(RUNS) || exit 1; \
	done

# The QGIS plugin with the batch tool beside it, for Plugins > Install from ZIP.
qgis-plugin: configure
	@cmake --build $(BUILD) --target vantrel-cli -j$(JOBS)
	@python3 qgis/make_zip.py $(BUILD)/vantrel-cli $(BUILD)/vantrel-qgis-plugin.zip

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz
