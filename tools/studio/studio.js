// The studio page. The server holds the folder and does all the work on pictures; the page keeps
// the manifest the user is editing, saves it after every change, and shows what the server made.
"use strict";

const STYLE_COUNT = 127;
const PICTURE_EXTENSIONS = ["jpg", "jpeg", "jpe", "png", "bmp", "ico", "wmf", "emf", "gif", "webp",
                            "tif", "tiff", "heic", "heif"];
const MUSIC_EXTENSIONS = ["mp3", "wav", "mid", "midi", "wma", "ogg"];
const MOVIE_EXTENSIONS = ["swf"];

const state = { manifest: null, galleryKey: "", saving: Promise.resolve(), saveTimer: 0 };
const $ = (selector, root = document) => root.querySelector(selector);
const $$ = (selector, root = document) => Array.from(root.querySelectorAll(selector));

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes)) {
    if (key === "class") node.className = value;
    else if (key.startsWith("on")) node.addEventListener(key.slice(2), value);
    else node.setAttribute(key, value);
  }
  for (const child of children) node.append(child);
  return node;
}

async function api(method, path, body) {
  const options = { method, headers: {} };
  if (body instanceof FormData) options.body = body;
  else if (body !== undefined) {
    options.body = JSON.stringify(body);
    options.headers["Content-Type"] = "application/json";
  }
  const response = await fetch(path, options);
  const type = response.headers.get("Content-Type") || "";
  const data = type.includes("json") ? await response.json() : { error: await response.text() };
  if (!response.ok) {
    const error = new Error(data.error || response.statusText);
    error.field = data.field || "";
    error.status = response.status;
    throw error;
  }
  return data;
}

function extensionOf(name) {
  const dot = name.lastIndexOf(".");
  return dot < 0 ? "" : name.slice(dot + 1).toLowerCase();
}

function formatSize(bytes) {
  if (bytes >= 1 << 20) return (bytes / (1 << 20)).toFixed(1) + " MB";
  if (bytes >= 1 << 10) return Math.round(bytes / (1 << 10)) + " KB";
  return bytes + " bytes";
}

// ---- Errors beside the field at fault --------------------------------------------------------

function clearErrors() {
  $$(".field-error").forEach((p) => (p.textContent = ""));
  $$(".has-error").forEach((e) => e.classList.remove("has-error"));
}

// "pictures[2].file" belongs to the third card; "settings.TextFont.Height" to the font size.
function showError(field, message) {
  const picture = /^pictures\[(\d+)\]/.exec(field);
  if (picture) {
    const card = $$("#pictures .card")[Number(picture[1])];
    if (card) {
      card.classList.add("has-error");
      $(".field-error", card).textContent = message;
      card.scrollIntoView({ block: "center" });
      return;
    }
  }
  const media = /^(music|movies)\[(\d+)\]/.exec(field);
  if (media) {
    const item = $$(`#${media[1]} li`)[Number(media[2])];
    if (item) item.classList.add("has-error");
    $(`[data-error-for="${media[1]}"]`).textContent = message;
    return;
  }
  const setting = /^settings\.(TextFont\.)?(\w+)/.exec(field);
  if (setting) {
    const input = setting[1] ? $(`[data-font="${setting[2] === "Height" ? "Size" : setting[2]}"]`)
                             : $(`[data-setting="${setting[2]}"]`);
    if (setting[2] === "EffectCommaList") {
      $('[data-error-for="settings.EffectCommaList"]').textContent = message;
      return;
    }
    if (input) {
      input.classList.add("has-error");
      const note = element("span", { class: "field-error" }, message);
      input.closest("label").append(note);
      return;
    }
  }
  const slot = $(`[data-error-for="${field}"]`) || $('[data-error-for=""]');
  slot.textContent = message;
  if (field === "target") $("#target").classList.add("has-error");
}

// ---- Saving --------------------------------------------------------------------------------

function setSaveState(text) { $("#save-state").textContent = text; }

function scheduleSave() {
  setSaveState("Changes not saved yet");
  clearTimeout(state.saveTimer);
  state.saveTimer = setTimeout(saveNow, 400);
}

// Saves are chained so that they reach the server in the order they were made.
function saveNow() {
  clearTimeout(state.saveTimer);
  state.saving = state.saving.then(async () => {
    try {
      const result = await api("PUT", "/api/manifest", state.manifest);
      clearErrors();
      setSaveState("Saved to slidesaver.json");
      if (result.gallery !== state.galleryKey) {
        state.galleryKey = result.gallery;
        refreshGallery();
      }
    } catch (error) {
      setSaveState("Not saved: " + error.message);
      clearErrors();
      showError(error.field, error.message);
      throw error;
    }
  }).catch(() => {});
  return state.saving;
}

// ---- Pictures ------------------------------------------------------------------------------

function thumbnailUrl(file) { return "/api/thumbnail?file=" + encodeURIComponent(file); }

function movePicture(from, to) {
  const pictures = state.manifest.pictures;
  if (from === to || to < 0 || to >= pictures.length) return;
  const [moved] = pictures.splice(from, 1);
  pictures.splice(to, 0, moved);
  renderPictures();
  scheduleSave();
}

function renderPictures() {
  const list = $("#pictures");
  list.replaceChildren();
  state.manifest.pictures.forEach((picture, index) => {
    const description = element("input", { class: "description", type: "text",
                                           placeholder: "Description", "aria-label": "Description" });
    description.value = picture.description || "";
    description.addEventListener("input", () => { picture.description = description.value; scheduleSave(); });
    const card = element("li", { class: "card", draggable: "true", "data-index": index, "data-file": picture.file },
      element("img", { class: "thumb", src: thumbnailUrl(picture.file), alt: picture.file, loading: "lazy" }),
      element("div", { class: "row" },
        element("span", { class: "position" }, String(index + 1)),
        element("span", { class: "name", title: picture.file }, picture.file)),
      description,
      element("div", { class: "row" },
        element("button", { type: "button", class: "earlier", title: "Move earlier",
                            onclick: () => movePicture(index, index - 1) }, "\u25C0"),
        element("button", { type: "button", class: "later", title: "Move later",
                            onclick: () => movePicture(index, index + 1) }, "\u25B6"),
        element("span", { class: "spacer" }),
        element("button", { type: "button", class: "remove", title: "Remove from the saver",
                            onclick: () => { state.manifest.pictures.splice(index, 1); renderPictures(); scheduleSave(); } },
                "\u2715")),
      element("p", { class: "field-error" }));
    card.addEventListener("dragstart", (event) => {
      event.dataTransfer.setData("application/x-picture-index", String(index));
      event.dataTransfer.effectAllowed = "move";
      card.classList.add("dragged");
    });
    card.addEventListener("dragend", () => card.classList.remove("dragged"));
    card.addEventListener("dragover", (event) => {
      if (!event.dataTransfer.types.includes("application/x-picture-index")) return;
      event.preventDefault();
      card.classList.add("drop-before");
    });
    card.addEventListener("dragleave", () => card.classList.remove("drop-before"));
    card.addEventListener("drop", (event) => {
      const from = event.dataTransfer.getData("application/x-picture-index");
      if (from === "") return;
      event.preventDefault();
      event.stopPropagation();
      card.classList.remove("drop-before");
      movePicture(Number(from), index);
    });
    list.append(card);
  });
}

// Files one at a time, in the order given, so that the pictures keep it.
async function uploadFiles(files) {
  const status = $("#upload-status");
  const problems = [];
  let done = 0;
  for (const file of files) {
    const ext = extensionOf(file.name);
    const kind = MUSIC_EXTENSIONS.includes(ext) ? "music" : MOVIE_EXTENSIONS.includes(ext) ? "movie"
               : PICTURE_EXTENSIONS.includes(ext) ? "picture" : null;
    if (!kind) { problems.push(`${file.name}: not a picture, music file or movie`); continue; }
    status.textContent = `Adding ${file.name} (${++done} of ${files.length})\u2026`;
    const form = new FormData();
    form.append("file", file, file.name);
    try {
      const result = await api("POST", "/api/upload?kind=" + kind, form);
      for (const stored of result.files) {
        if (kind === "picture") state.manifest.pictures.push({ file: stored.file, description: "" });
        else state.manifest[kind === "music" ? "music" : "movies"].push(stored.file);
        for (const warning of stored.warnings) problems.push(`${file.name}: ${warning}`);
      }
      if (kind === "picture") renderPictures(); else renderMedia();
    } catch (error) {
      problems.push(`${file.name}: ${error.message}`);
    }
  }
  status.replaceChildren(...problems.map((p) => element("div", { class: "field-error" }, p)));
  if (!problems.length) status.textContent = files.length ? `Added ${done} file${done === 1 ? "" : "s"}.` : "";
  await saveNow();
}

// A dropped folder is walked for every file inside it, depth first, in name order.
async function filesOfEntry(entry) {
  if (entry.isFile) return [await new Promise((resolve, reject) => entry.file(resolve, reject))];
  const reader = entry.createReader();
  const entries = [];
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (!batch.length) break;
    entries.push(...batch);
  }
  entries.sort((a, b) => a.name.localeCompare(b.name));
  const files = [];
  for (const child of entries) files.push(...(await filesOfEntry(child)));
  return files;
}

function setUpDropping() {
  let depth = 0;
  document.addEventListener("dragenter", (event) => {
    if (event.dataTransfer.types.includes("Files")) { depth++; document.body.classList.add("dragging"); }
  });
  document.addEventListener("dragleave", () => { if (--depth <= 0) { depth = 0; document.body.classList.remove("dragging"); } });
  document.addEventListener("dragover", (event) => {
    if (event.dataTransfer.types.includes("Files")) event.preventDefault();
  });
  document.addEventListener("drop", async (event) => {
    if (!event.dataTransfer.types.includes("Files")) return;
    event.preventDefault();
    depth = 0;
    document.body.classList.remove("dragging");
    const entries = Array.from(event.dataTransfer.items || [])
      .map((item) => item.webkitGetAsEntry && item.webkitGetAsEntry()).filter(Boolean);
    let files = [];
    if (entries.length) for (const entry of entries) files.push(...(await filesOfEntry(entry)));
    else files = Array.from(event.dataTransfer.files);
    await uploadFiles(files);
  });
  for (const id of ["picture-input", "folder-input", "music-input", "movie-input"]) {
    const input = $("#" + id);
    input.addEventListener("change", async () => {
      let files = Array.from(input.files);
      // A chosen folder comes in no set order: its files go in by their paths.
      if (id === "folder-input")
        files.sort((a, b) => a.webkitRelativePath.localeCompare(b.webkitRelativePath));
      input.value = "";
      await uploadFiles(files);
    });
  }
}

// ---- Music and movies ----------------------------------------------------------------------

function renderMedia() {
  for (const key of ["music", "movies"]) {
    const list = state.manifest[key];
    $("#" + key).replaceChildren(...list.map((file, index) => element("li", {},
      element("span", {}, file),
      element("button", { type: "button", title: "Move up", onclick: () => moveMedia(key, index, index - 1) }, "\u25B2"),
      element("button", { type: "button", title: "Move down", onclick: () => moveMedia(key, index, index + 1) }, "\u25BC"),
      element("button", { type: "button", title: "Remove", onclick: () => { list.splice(index, 1); renderMedia(); scheduleSave(); } }, "\u2715"))));
  }
}

function moveMedia(key, from, to) {
  const list = state.manifest[key];
  if (to < 0 || to >= list.length) return;
  list.splice(to, 0, list.splice(from, 1)[0]);
  renderMedia();
  scheduleSave();
}

// ---- Settings ------------------------------------------------------------------------------

// Colours are stored as 00BBGGRR; a system colour (high byte set) shows as black until changed.
function colourToHex(value) {
  if (value < 0 || value > 0xffffff) return "#000000";
  const r = value & 0xff, g = (value >> 8) & 0xff, b = (value >> 16) & 0xff;
  return "#" + [r, g, b].map((c) => c.toString(16).padStart(2, "0")).join("");
}
function hexToColour(hex) {
  const n = parseInt(hex.slice(1), 16);
  return ((n & 0xff) << 16) | (n & 0xff00) | ((n >> 16) & 0xff);
}

// Heights are pixels at 96 per inch, negative as the runtime's fonts expect them.
const heightToPoints = (height) => Math.round(Math.abs(height) * 72 / 96);
const pointsToHeight = (points) => -Math.round(points * 96 / 72);

function renderSettings() {
  const settings = state.manifest.settings;
  for (const input of $$("[data-setting]")) {
    const key = input.dataset.setting;
    const value = settings[key];
    if (input.type === "checkbox") input.checked = !!value;
    else if (input.dataset.scale) input.value = String(value / Number(input.dataset.scale));
    else input.value = String(value);
  }
  const font = settings.TextFont;
  $('[data-font="Name"]').value = font.Name;
  $('[data-font="Size"]').value = heightToPoints(font.Height);
  $('[data-font="Color"]').value = colourToHex(font.Color);
  for (const box of $$("[data-font-style]")) box.checked = font.Style.includes(box.dataset.fontStyle);
}

function readSetting(input) {
  const settings = state.manifest.settings;
  const key = input.dataset.setting;
  if (input.type === "checkbox") settings[key] = input.checked;
  else if ("boolean" in input.dataset) settings[key] = input.value === "true";
  else if ("number" in input.dataset) settings[key] = Number(input.value);
  else if (input.dataset.scale) settings[key] = Math.round(Number(input.value || 0) * Number(input.dataset.scale));
  else settings[key] = input.value;
}

function setUpSettings() {
  for (const input of $$("[data-setting]"))
    input.addEventListener(input.type === "checkbox" || input.tagName === "SELECT" ? "change" : "input",
                           () => { readSetting(input); scheduleSave(); });
  const font = () => state.manifest.settings.TextFont;
  $('[data-font="Name"]').addEventListener("input", (e) => { font().Name = e.target.value; scheduleSave(); });
  $('[data-font="Size"]').addEventListener("input", (e) => {
    if (e.target.value) { font().Height = pointsToHeight(Number(e.target.value)); scheduleSave(); }
  });
  $('[data-font="Color"]').addEventListener("input", (e) => { font().Color = hexToColour(e.target.value); scheduleSave(); });
  for (const box of $$("[data-font-style]"))
    box.addEventListener("change", () => {
      const styles = new Set(font().Style);
      if (box.checked) styles.add(box.dataset.fontStyle); else styles.delete(box.dataset.fontStyle);
      font().Style = ["fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"].filter((s) => styles.has(s));
      scheduleSave();
    });
}

// ---- Styles --------------------------------------------------------------------------------

function chosenStyles() { return state.manifest.settings.EffectCommaList; }

function toggleStyle(style) {
  const list = chosenStyles();
  if (list.includes(style)) state.manifest.settings.EffectCommaList = list.filter((s) => s !== style);
  else list.push(style);
  renderChosenStyles();
  scheduleSave();
}

function renderChosenStyles() {
  const list = chosenStyles();
  $("#no-styles").hidden = list.length > 0;
  $("#chosen-styles").replaceChildren(...list.map((style, index) => {
    const chip = element("li", { draggable: "true", "data-style": style }, "Style " + style,
      element("button", { type: "button", title: "Take out", "aria-label": "Take out style " + style,
                          onclick: () => toggleStyle(style) }, "\u2715"));
    chip.addEventListener("dragstart", (e) => e.dataTransfer.setData("application/x-style-index", String(index)));
    chip.addEventListener("dragover", (e) => {
      if (e.dataTransfer.types.includes("application/x-style-index")) e.preventDefault();
    });
    chip.addEventListener("drop", (e) => {
      const from = Number(e.dataTransfer.getData("application/x-style-index"));
      e.preventDefault();
      e.stopPropagation();
      const styles = chosenStyles();
      styles.splice(index, 0, styles.splice(from, 1)[0]);
      renderChosenStyles();
      scheduleSave();
    });
    return chip;
  }));
  for (const cell of $$("#gallery .style")) {
    const positions = [];
    list.forEach((s, i) => { if (s === Number(cell.dataset.style)) positions.push(i + 1); });
    cell.classList.toggle("chosen", positions.length > 0);
    cell.setAttribute("aria-pressed", positions.length > 0 ? "true" : "false");
    $(".order", cell).textContent = positions.join(", ");
  }
}

function buildGallery() {
  const gallery = $("#gallery");
  for (let style = 1; style <= STYLE_COUNT; style++) {
    gallery.append(element("button", { type: "button", class: "style", id: "style-" + style,
                                       "data-style": String(style), title: "Style " + style,
                                       onclick: () => toggleStyle(style) },
      element("img", { alt: "Style " + style, loading: "lazy", width: 240, height: 135 }),
      element("span", { class: "number" }, String(style)),
      element("span", { class: "order" })));
  }
}

function refreshGallery() {
  for (const img of $$("#gallery img")) {
    const style = img.parentElement.dataset.style;
    img.src = `/api/style/${style}.gif?key=${state.galleryKey}`;
  }
}

// ---- Play and build ------------------------------------------------------------------------

async function playPreview() {
  await saveNow();
  const dialog = $("#player");
  const img = $("#recording");
  img.hidden = true;
  $("#player-message").textContent = "Recording the first slides\u2026";
  dialog.showModal();
  $("#play").disabled = true;
  try {
    const result = await api("POST", "/api/play", { width: window.innerWidth, height: window.innerHeight });
    img.src = result.recording + "?t=" + Date.now();
    img.hidden = false;
    $("#player-message").textContent = "The saver's first slides, as it will show them:";
  } catch (error) {
    $("#player-message").textContent = error.message;
    if (error.field) showError(error.field, error.message);
  } finally {
    $("#play").disabled = false;
  }
}

async function build() {
  await saveNow();
  clearErrors();
  const bar = $("#build-status");
  const message = $("#build-message");
  const progress = $("#build-progress");
  const link = $("#build-download");
  const target = $("#target");
  bar.hidden = false;
  bar.classList.remove("failed");
  link.hidden = true;
  progress.value = 0;
  message.textContent = "Building for " + target.selectedOptions[0].textContent + "\u2026";
  $("#build").disabled = true;
  try {
    const { id } = await api("POST", "/api/build", { target: target.value });
    let status;
    for (;;) {
      status = await api("GET", "/api/build/" + id);
      if (status.total > 0) progress.value = status.done / status.total;
      if (status.state !== "running") break;
      await new Promise((resolve) => setTimeout(resolve, 150));
    }
    if (status.state === "failed") {
      bar.classList.add("failed");
      message.textContent = "The build failed: " + status.error;
      showError(status.field, status.error);
      return;
    }
    progress.value = 1;
    message.textContent = `Saved ${status.file} in the folder: ${formatSize(status.size)} ` +
                          `(${status.size.toLocaleString("en")} bytes).`;
    link.href = "/api/saver?name=" + encodeURIComponent(status.file);
    link.download = status.file;
    link.hidden = false;
    link.click();
  } catch (error) {
    bar.classList.add("failed");
    message.textContent = "The build failed: " + error.message;
    showError(error.field, error.message);
  } finally {
    $("#build").disabled = false;
  }
}

// ---- Start ---------------------------------------------------------------------------------

async function start() {
  buildGallery();
  setUpDropping();
  setUpSettings();
  $("#play").addEventListener("click", playPreview);
  $("#build").addEventListener("click", build);
  try {
    const loaded = await api("GET", "/api/manifest");
    state.manifest = loaded.manifest;
    $("#folder").textContent = loaded.folder;
  } catch (error) {
    showError(error.field, error.message);
    setSaveState("slidesaver.json could not be read; fix it and reload the page");
    return;
  }
  renderPictures();
  renderMedia();
  renderSettings();
  renderChosenStyles();
  const gallery = await api("GET", "/api/gallery");
  state.galleryKey = gallery.key;
  refreshGallery();
  document.body.dataset.ready = "true";
}

start();
