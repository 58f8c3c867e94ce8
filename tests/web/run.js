// Browser tests of the web build, in Debian's chromium driven by puppeteer-core: the same frames
// as the native game, a player's road through the real page, saves across a reload, sound, and a
// long demo run that must leave no error anywhere.
//   node tests/web/run.js WEB_GAME_DIR NATIVE_BUILD_DIR [TEST_NAME...]
'use strict';
const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [webDir, nativeDir, ...only] = process.argv.slice(2).map((a, i) => (i < 2 ? path.resolve(a) : a));
const here = __dirname;
const saves = '/home/web_user/.local/share/kvr';
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// The page and the headless runner served from one origin, as any static server would.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
function serve() {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = name === 'headless.html' ? path.join(here, name) : path.join(webDir, name);
    if (!file.startsWith(webDir + path.sep) && file !== path.join(here, 'headless.html')) {
      res.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, data) => {
      if (error) {
        res.writeHead(404).end();
        return;
      }
      res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                           'Cache-Control': 'no-store' });
      res.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// 5-6-5 to the canvas's 8-bit channels, as the game widens them.
const rgb = p => {
  const r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
  return [(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)];
};

// A run of a program of the browser build in the headless page; the files it wrote.
async function headlessRun(context, base, program, args, files, read) {
  const page = await context.newPage();
  try {
    await page.evaluateOnNewDocument(run => { window.kvrRun = run; }, { program, args, files, read });
    await page.goto(base + 'headless.html');
    await page.waitForFunction('window.kvrDone', { timeout: 50000 });
    const done = await page.evaluate(() => window.kvrDone);
    const out = {};
    for (const [p, b64] of Object.entries(done.files)) out[p] = b64 === null ? null : Buffer.from(b64, 'base64');
    return out;
  } finally {
    await page.close();
  }
}

// The road's shots, also taken by the native game and compared byte for byte.
const roadShots = [5, 22, 60, 140, 148, 200, 230];
const roadTicks = 240;

function nativeRoad() {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'kvr-web-'));
  const data = path.join(path.dirname(webDir), 'data');
  for (const name of fs.readdirSync(data)) fs.copyFileSync(path.join(data, name), path.join(scratch, name));
  const args = ['--headless', '--data', scratch + '/', '--input', path.join(here, 'new_game_road.txt'),
                '--ticks', String(roadTicks)];
  for (const t of roadShots) args.push('--shot', `${t}:${path.join(scratch, `shot${t}.raw`)}`);
  childProcess.execFileSync(path.join(nativeDir, 'game', 'game'), args, { stdio: 'inherit' });
  const shots = {};
  for (const t of roadShots) shots[t] = fs.readFileSync(path.join(scratch, `shot${t}.raw`));
  fs.rmSync(scratch, { recursive: true, force: true });
  return shots;
}

let nativeShots = null;
const native = () => nativeShots || (nativeShots = nativeRoad());

// The canvas as RGBA bytes.
const canvasPixels = page => page.evaluate(() => Array.from(
    document.getElementById('screen').getContext('2d').getImageData(0, 0, 240, 320).data));

// Whether the canvas shows exactly the native 5-6-5 frame's pixels in [x0, x1) x [y0, y1).
function sameArea(rgba, raw, x0, y0, x1, y1) {
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      const i = y * 240 + x, want = rgb(raw.readUInt16LE(i * 2));
      if (rgba[i * 4] !== want[0] || rgba[i * 4 + 1] !== want[1] || rgba[i * 4 + 2] !== want[2]) return false;
    }
  }
  return true;
}

function colours(rgba, y0, y1) {
  const seen = new Set();
  for (let i = y0 * 240; i < y1 * 240; ++i) seen.add((rgba[i * 4] << 16) | (rgba[i * 4 + 1] << 8) | rgba[i * 4 + 2]);
  return seen.size;
}

// Opens the real page; errors on the console or in the page are collected in page.errors.
async function openGame(context, base, query = '', before = null) {
  const page = await context.newPage();
  page.errors = [];
  page.on('console', m => { if (m.type() === 'error') page.errors.push(m.text()); });
  page.on('pageerror', e => page.errors.push(String(e)));
  if (before) await page.evaluateOnNewDocument(before);
  await page.setViewport({ width: 800, height: 1000 });
  const started = Date.now();
  await page.goto(base + query);
  // The main menu is up once the canvas shows the native game's main menu, exactly (the demo
  // goes on from it at once: there the game only has to be running).
  if (query.includes('demo')) {
    await page.waitForFunction('Module.calledRun', { timeout: 15000 });
  } else {
    const menu = native()[5], want = [];
    for (let i = 0; i < 240 * 320; ++i) want.push(...rgb(menu.readUInt16LE(i * 2)));
    await page.waitForFunction(want => {
      const d = document.getElementById('screen').getContext('2d').getImageData(0, 0, 240, 320).data;
      for (let i = 0, j = 0; i < d.length; i += 4, j += 3)
        if (d[i] !== want[j] || d[i + 1] !== want[j + 1] || d[i + 2] !== want[j + 2]) return false;
      return true;
    }, { timeout: 15000, polling: 50 }, want);
  }
  page.menuMs = Date.now() - started;
  return page;
}

// The page as a player sees it, kept where $KVR_KEEP_SHOTS points, for looking at.
async function keep(page, name) {
  if (process.env.KVR_KEEP_SHOTS) await page.screenshot({ path: path.join(process.env.KVR_KEEP_SHOTS, `web_${name}.png`) });
}

// A click at a layout point through the canvas's place and scale, press and release at once.
async function tap(page, x, y) {
  const r = await page.evaluate(() => {
    const b = document.getElementById('screen').getBoundingClientRect();
    return { left: b.left, top: b.top, width: b.width, height: b.height };
  });
  await page.mouse.click(r.left + (x + 0.5) * r.width / 240, r.top + (y + 0.5) * r.height / 320);
}

const at = { play: [182, 163], start: [64, 241], easy: [120, 91], skip: [120, 296], inGameMenu: [216, 300] };

// Into map1_1 by the new-game road, with real clicks on the scaled canvas.
async function newGameRoad(page) {
  for (const step of [at.play, at.start, at.easy]) {
    await tap(page, ...step);
    await sleep(700);
  }
  await sleep(600);
  await tap(page, ...at.skip);
  await sleep(1500);  // the map loads, play begins
}

const tests = {
  // The WebAssembly build of the headless game draws the native game's frames, byte for byte.
  async sameFrames(context, base) {
    const golden = path.join(os.tmpdir(), `kvr-golden-${process.pid}.raw`);
    childProcess.execFileSync(path.join(nativeDir, 'tests', 'web', 'web_golden_frame'), [golden]);
    const web = await headlessRun(context, base, 'golden_frame', ['/tmp/golden.raw'], {}, ['/tmp/golden.raw']);
    assert.ok(web['/tmp/golden.raw'], 'the golden scene was not written in the page');
    assert.ok(web['/tmp/golden.raw'].equals(fs.readFileSync(golden)), 'the golden scene differs');
    fs.rmSync(golden);

    const args = ['--headless', '--data', '/usr/share/kvr/', '--input', '/tmp/road.txt', '--ticks', String(roadTicks)];
    for (const t of roadShots) args.push('--shot', `${t}:/tmp/shot${t}.raw`);
    const script = fs.readFileSync(path.join(here, 'new_game_road.txt'), 'utf8');
    const shots = await headlessRun(context, base, 'game', args, { '/tmp/road.txt': script },
                                    roadShots.map(t => `/tmp/shot${t}.raw`));
    const want = native();
    for (const t of roadShots) {
      assert.ok(shots[`/tmp/shot${t}.raw`], `shot ${t} was not written in the page`);
      assert.ok(shots[`/tmp/shot${t}.raw`].equals(want[t]), `the frame of timer message ${t} differs`);
    }
    // The road went somewhere: the menu, the map and the turned view are all different frames.
    assert.ok(!want[5].equals(want[148]) && !want[148].equals(want[230]), 'the road stood still');
  },

  // A player's road in the real page: the menu within 5 s, clicks into map1_1, keys turn the view.
  async playerRoad(context, base) {
    const page = await openGame(context, base);
    console.log(`web: the main menu ${page.menuMs} ms after navigation`);
    assert.ok(page.menuMs < 5000, `the main menu took ${page.menuMs} ms`);
    await newGameRoad(page);
    const play = await canvasPixels(page);
    await keep(page, 'play');
    const want = native()[148];
    // The head-up panel below the 3D area: energy 250, 300 rounds, as in the native game.
    assert.ok(sameArea(play, want, 82, 234, 240, 282), 'the head-up panel differs from the native one');
    assert.ok(colours(play, 0, 230) > 200, 'the 3D area has few colours');
    await page.keyboard.press('KeyE');
    await page.keyboard.down('ArrowLeft');
    await sleep(1000);
    await page.keyboard.up('ArrowLeft');
    const turned = await canvasPixels(page);
    let changed = 0;
    for (let i = 0; i < 240 * 230; ++i) if (turned[i * 4] !== play[i * 4] || turned[i * 4 + 1] !== play[i * 4 + 1]) ++changed;
    assert.ok(changed > 240 * 230 / 4, `holding ArrowLeft changed only ${changed} pixels`);
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  },

  // Leaving the map through "Go to menu?" keeps the map and the player; a reload finds both.
  async reloadKeepsProgress(context, base) {
    let page = await openGame(context, base);
    await newGameRoad(page);
    await tap(page, ...at.inGameMenu);
    await sleep(2000);  // the question has dimmed the game in
    await keep(page, 'asking');
    await page.keyboard.press('Enter');  // Yes: the picture holds 5 s, then the main menu
    // Leaving the map keeps its state and sends the campaign back to it.
    await page.waitForFunction(dir => FS.readdir(dir).includes('map1_1.sav'), { timeout: 30000, polling: 200 }, saves);
    // A second tab of the game says so and waits: one game writes the files at a time.
    const second = await page.browserContext().newPage();
    await second.goto(base);
    await second.waitForFunction(() => /already open/.test(document.getElementById('say').textContent), { timeout: 10000 });
    assert.ok(!(await second.evaluate(() => Module.calledRun)), 'the second tab started a game');
    await second.close();
    await sleep(1000);  // the database write finishes
    const kept = await page.evaluate(dir => {
      const out = {};
      for (const f of FS.readdir(dir)) if (f.endsWith('.sav') || f.endsWith('.dat')) out[f] = Array.from(FS.readFile(dir + '/' + f));
      return out;
    }, saves);
    const player = Buffer.from(kept['kvr_playerdata.dat']);
    assert.strictEqual(player.toString('latin1', 0, 10), 'map1_1.map', 'the campaign does not go back to map1_1');
    await page.reload();
    await page.waitForFunction('typeof FS !== "undefined" && Module.calledRun', { timeout: 15000 });
    for (const [f, bytes] of Object.entries(kept)) {
      const after = await page.evaluate(p => Array.from(FS.readFile(p)), saves + '/' + f);
      assert.deepStrictEqual(after, bytes, `${f} did not survive the reload`);
    }
    await page.close();
    // PLAY continues the campaign: straight into the map, the head-up panel back.
    page = await openGame(context, base);
    await tap(page, ...at.play);
    await sleep(2000);
    const play = await canvasPixels(page);
    await keep(page, 'continued');
    assert.ok(colours(play, 0, 230) > 200, 'PLAY did not continue in the map');
    assert.ok(sameArea(play, native()[148], 82, 234, 240, 282), 'no head-up panel after PLAY');
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  },

  // After the first click the title music reaches Web Audio.
  async soundPlays(context, base) {
    const page = await openGame(context, base);
    await tap(page, 5, 5);  // a blank corner of the main menu
    await sleep(300);
    const first = await page.evaluate(() => {
      const a = Module.kvrAudio;
      a.peak = 0;
      return { state: a.context && a.context.state, samples: a.samples };
    });
    assert.strictEqual(first.state, 'running');
    await sleep(1000);
    const second = await page.evaluate(() => ({ samples: Module.kvrAudio.samples, peak: Module.kvrAudio.peak }));
    assert.ok(second.samples - first.samples >= 12000, `only ${second.samples - first.samples} samples in a second`);
    assert.ok(second.peak > 500, `the music is silent (peak ${second.peak})`);
    await page.close();
  },

  // A tab in the background pauses: the last frame marked, no steps, no sound; back in front
  // the game goes on where it was.
  async pausesWhenHidden(context, base) {
    const page = await openGame(context, base);
    await tap(page, 5, 5);  // a blank corner: the sound starts
    await sleep(500);
    const menu = await canvasPixels(page);
    const other = await context.newPage();
    await other.bringToFront();
    await page.waitForFunction(() => document.hidden, { timeout: 5000 });
    await sleep(500);
    const paused = await canvasPixels(page);
    await keep(page, 'paused');
    assert.notDeepStrictEqual(paused, menu, 'the paused frame is not marked');
    await sleep(1000);
    assert.deepStrictEqual(await canvasPixels(page), paused, 'the game went on in the background');
    assert.strictEqual(await page.evaluate(() => Module.kvrAudio.context.state), 'suspended');
    await other.close();
    await page.bringToFront();
    await sleep(500);
    assert.deepStrictEqual(await canvasPixels(page), menu, 'the game did not come back');
    assert.strictEqual(await page.evaluate(() => Module.kvrAudio.context.state), 'running');
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  },

  // A page without sound still plays, and a minute of the attract mode leaves no error.
  async nothingBreaksQuietly(context, base) {
    let page = await openGame(context, base, '', () => {
      window.AudioContext = function () { throw new DOMException('refused', 'NotAllowedError'); };
    });
    const menu = await canvasPixels(page);
    await tap(page, ...at.play);
    await sleep(700);
    const asked = await canvasPixels(page);
    assert.notDeepStrictEqual(asked, menu, 'a page without sound does not play');
    assert.deepStrictEqual(page.errors, []);
    await page.close();

    page = await openGame(context, base, '?demo');
    await sleep(60000);
    const log = await page.evaluate(p => {
      try {
        return new TextDecoder().decode(FS.readFile(p));
      } catch (e) {
        return '';
      }
    }, saves + '/demo/log.txt');
    const play = await canvasPixels(page);
    assert.ok(colours(play, 0, 230) > 100, 'the demo is not playing');
    assert.deepStrictEqual(page.errors, []);
    assert.strictEqual(log, '', 'log.txt is not empty');
    await page.close();
  },
};

(async () => {
  const server = await serve();
  const base = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--mute-audio'],
  });
  let failed = 0;
  for (const [name, test] of Object.entries(tests)) {
    if (only.length && !only.includes(name)) continue;
    const started = Date.now();
    // Each test in a profile of its own: its own IndexedDB, its own single-instance lock.
    const context = await browser.createBrowserContext();
    try {
      await test(context, base);
      console.log(`web: ${name} passed (${((Date.now() - started) / 1000).toFixed(1)} s)`);
    } catch (e) {
      ++failed;
      console.log(`web: ${name} FAILED: ${e.message}`);
    } finally {
      await context.close();
    }
  }
  await browser.close();
  server.close();
  process.exit(failed ? 1 : 0);
})();
