# The two commands of the README:
#   make run    installs what is missing, builds, and starts ZEL on the sample
#               drawing with the simulated machine and the machine folder
#               (made from the sample the first time)
#   make test   installs what is missing, builds, and runs every test; then
#               builds the layers below the window with clang under the
#               address and undefined behaviour sanitizers and runs their
#               tests and a short fuzz of the drawing reader (make sanitize:
#               that pass alone; make fuzz: ten minutes of fuzzing); a line
#               at the end says how many tests ran, passed, and how long
#   make package  builds the Debian package $(BUILD)/zel_<version>_<arch>.deb
#   make windows  cross-builds zel.exe for Windows (MinGW-w64) in $(WINDOWS_BUILD),
#                 with the installer zel-7.0-win64.exe and the portable zip
#   make test-windows  the same, then every Windows test under Wine
BUILD ?= build
WINDOWS_BUILD ?= build-windows
SANITIZE_BUILD ?= build-asan
MACHINE ?= $(HOME)/zel-machine
JOBS ?= $(shell nproc)
# The tests mostly wait for the simulated line and the display: twice as many
# as there are processors keep them busy.
TEST_JOBS ?= $(shell echo $$(( $$(nproc) * 2 )))

.PHONY: run test build sanitize sanitize-build fuzz deps machine package clean windows \
        test-windows
FUZZ_SECONDS ?= 10
STARTED := $(shell date +%s)

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DZEL_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

# The plain tests mostly wait for the simulated line and the display: the
# sanitizer build compiles meanwhile.
test: build
	@( cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS) > ctest.log 2>&1; \
	   echo $$? > ctest.status ) & \
	 $(MAKE) --no-print-directory sanitize-build; built=$$?; wait; \
	 cat $(BUILD)/ctest.log; [ $$built = 0 ] && [ "$$(cat $(BUILD)/ctest.status)" = 0 ]
	@cd $(SANITIZE_BUILD) && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure -j $(TEST_JOBS) \
	    > ctest.log 2>&1; status=$$?; cat ctest.log; cd $(CURDIR); \
	 scripts/test-summary.sh $(STARTED) $(BUILD)/ctest.log $(SANITIZE_BUILD)/ctest.log; \
	 exit $$status

sanitize-build: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DZEL_WERROR=ON -DZEL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)

sanitize: sanitize-build
	cd $(SANITIZE_BUILD) && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure -j $(JOBS)

fuzz: sanitize-build
	cd $(SANITIZE_BUILD) && FUZZ_SECONDS=600 ctest --output-on-failure -R dxf_fuzz

package: build
	cmake --build $(BUILD) --target package

machine:
	@scripts/machine-folder.sh examples/machine $(MACHINE)

run: build machine
	$(BUILD)/zel --dir $(MACHINE) --simulate examples/drawings/letters.dxf

windows:
	@scripts/install-deps.sh windows
	cmake -S . -B $(WINDOWS_BUILD) --toolchain cmake/mingw-w64.cmake -DZEL_WERROR=ON \
	      -DZEL_LINUX_BUILD=$(abspath $(BUILD))
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && cpack -G "NSIS;ZIP"

# The desktop test compares zel.exe with the Linux program of $(BUILD).
test-windows: build windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(WINDOWS_BUILD)
