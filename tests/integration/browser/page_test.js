// The preview page in Debian's headless Chromium: the controls stand where the form puts them,
// and typing data, choosing a symbology and pressing "View" shows a 500 x 200 JPEG that zbarimg
// reads back to the data; refused data comes back as an alert with the engine's message.
// Usage: node page_test.js PAGE_URL WORK_DIR

'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { chromium } = require('playwright-core');

const [pageUrl, workDir] = process.argv.slice(2);

// left, top, width, height of the form's controls, in page pixels.
const PLACES = {
  IWButton1: [264, 536, 61, 21],
  edtBarcode: [108, 220, 150, 21],
  cmbBarType: [108, 248, 150, 21],
  cmbModul: [108, 276, 150, 21],
  cmbRatio: [108, 304, 150, 21],
  edtLeft: [108, 356, 150, 21],
  edtTop: [108, 384, 150, 21],
  edtHeight: [108, 412, 150, 21],
  edtAngle: [108, 440, 150, 21],
  cmbBarColor: [108, 468, 150, 21],
  cmbSpaceColor: [108, 496, 150, 21],
  cmbTextSize: [392, 216, 121, 21],
  cmbTextFont: [392, 244, 121, 21],
  cmbTextColor: [392, 324, 121, 21],
  cmbTextBackColor: [392, 352, 121, 21],
  cmbTextShow: [392, 380, 121, 21],
  cmbTextPost: [392, 408, 121, 21],
  cmbBackColor: [392, 464, 121, 21],
};

let browser;
let context;

test.before(async () => {
  context = await chromium.launchPersistentContext(path.join(workDir, 'profile'), {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 800, height: 700 },
  });
  browser = context;
});

test.after(async () => {
  if (browser) await browser.close();
});

function decode(file) {
  try {
    return execFileSync('zbarimg', ['-q', '--raw', file], { encoding: 'latin1' }).trim();
  } catch (e) {
    if (e.status === 4) return '';  // zbarimg found nothing
    throw new Error(`zbarimg failed (${e.status}): ${e.message}`);
  }
}

async function pictureOf(page, name) {
  const img = page.locator('#IWImage1');
  await img.waitFor();
  const src = await img.getAttribute('src');
  const response = await page.request.get(new URL(src, pageUrl).href);
  assert.equal(response.status(), 200, `picture ${src}`);
  assert.match(response.headers()['content-type'] || '', /image\/jpeg/);
  const file = path.join(workDir, name);
  fs.writeFileSync(file, await response.body());
  const shown = await img.evaluate((el) => [el.naturalWidth, el.naturalHeight, el.width, el.height]);
  return { file, shown };
}

test('the controls stand at their places', async () => {
  const page = await context.newPage();
  await page.goto(pageUrl);
  for (const [id, [left, top, width, height]] of Object.entries(PLACES)) {
    const box = await page.locator('#' + id).boundingBox();
    assert.ok(box, `${id} is not shown`);
    assert.deepEqual([Math.round(box.x), Math.round(box.y), Math.round(box.width), Math.round(box.height)],
      [left, top, width, height], id);
  }
  assert.equal(await page.locator('#IWImage1').count(), 0, 'a fresh page shows no picture');
  await page.screenshot({ path: path.join(workDir, 'fresh.png') });
  await page.close();
});

test('View shows the barcode of the typed data', async () => {
  const page = await context.newPage();
  page.on('dialog', (d) => { throw new Error('unexpected alert: ' + d.message()); });
  await page.goto(pageUrl);
  await page.locator('#edtBarcode').fill('RIBBON-42');
  await page.locator('#cmbBarType').selectOption({ label: 'Code93' });
  await Promise.all([page.waitForNavigation(), page.locator('#IWButton1').click()]);
  const { file, shown } = await pictureOf(page, 'view.jpg');
  assert.deepEqual(shown, [500, 200, 500, 200]);
  assert.equal(decode(file), 'RIBBON-42');
  // The page comes back with the user's choices.
  assert.equal(await page.locator('#edtBarcode').inputValue(), 'RIBBON-42');
  assert.equal(await page.locator('#cmbBarType option:checked').textContent(), 'Code93');
  const box = await page.locator('#IWImage1').boundingBox();
  assert.deepEqual([box.x, box.y, box.width, box.height], [8, 8, 500, 200]);
  await page.screenshot({ path: path.join(workDir, 'view.png') });
  await page.close();
});

test('refused data shows the engine message in an alert over the plain background', async () => {
  const page = await context.newPage();
  const alerts = [];
  page.on('dialog', async (d) => { alerts.push([d.type(), d.message()]); await d.dismiss(); });
  await page.goto(pageUrl);
  await page.locator('#edtBarcode').fill('ab');
  await page.locator('#cmbBarType').selectOption({ label: 'Code93' });
  await page.locator('#chkBitmap').uncheck();
  await Promise.all([page.waitForNavigation(), page.locator('#IWButton1').click()]);
  await page.locator('#IWImage1').waitFor();
  assert.deepEqual(alerts, [['alert', 'ab : Code_93 bad data.']]);
  const { file } = await pictureOf(page, 'refused.jpg');
  assert.equal(decode(file), '', 'no bars on a refused draw');
  assert.equal(await page.locator('#chkBitmap').isChecked(), false);
  await page.close();
});
